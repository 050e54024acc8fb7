// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include "framesink.h"

#include "videowindow.h"

#include <QImage>

namespace vx::media {

namespace {

GstFlowReturn deliver(GstAppSink *sink, gpointer window, bool preroll)
{
    GstSample *sample = preroll ? gst_app_sink_pull_preroll(sink) : gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_OK;
    int width = 0;
    int height = 0;
    if (GstCaps *caps = gst_sample_get_caps(sample)) {
        const GstStructure *s = gst_caps_get_structure(caps, 0);
        gst_structure_get_int(s, "width", &width);
        gst_structure_get_int(s, "height", &height);
    }
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (buffer && width > 0 && height > 0 && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        const qsizetype stride = qsizetype(width) * 4;
        if (map.size >= gsize(stride * height)) {
            QImage frame(map.data, width, height, stride, QImage::Format_RGB32);
            static_cast<VideoWindow *>(window)->offerFrame(frame.copy());
        }
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

GstFlowReturn onSample(GstAppSink *sink, gpointer window) { return deliver(sink, window, false); }
GstFlowReturn onPreroll(GstAppSink *sink, gpointer window) { return deliver(sink, window, true); }

} // namespace

GstElement *makeFrameSink(VideoWindow *window)
{
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!sink)
        return nullptr;
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(sink, "caps", caps, "max-buffers", 2, "drop", TRUE, "sync", TRUE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &onSample;
    callbacks.new_preroll = &onPreroll;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, window, nullptr);
    return sink;
}

} // namespace vx::media
