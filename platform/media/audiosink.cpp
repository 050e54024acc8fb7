// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/gst.h>
#include <alsa/asoundlib.h>

#include "audiosink.h"

#include <initializer_list>

namespace vx::media {

namespace {

// ALSA reports a missing device on stderr as well as to its caller.
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

} // namespace

bool gstreamerReady()
{
    static const bool ready = [] {
        snd_lib_error_set_handler(quietAlsa);
        // Tag text that is not UTF-8 is the Japanese code page, as the files'
        // own platform wrote it.
        g_setenv("GST_ID3_TAG_ENCODING", "CP932", FALSE);
        GError *error = nullptr;
        const bool ok = gst_init_check(nullptr, nullptr, &error);
        if (error)
            g_error_free(error);
        return ok;
    }();
    return ready;
}

// The sound server, else the ALSA device, else a sink that only keeps time
// (no sound card: clips still play and end as they would).
GstElement *makeAudioSink()
{
    for (const char *name : {"pulsesink", "alsasink"}) {
        GstElement *sink = gst_element_factory_make(name, nullptr);
        if (!sink)
            continue;
        gst_object_ref_sink(sink);
        const bool usable = gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
        gst_element_set_state(sink, GST_STATE_NULL);
        if (usable)
            return sink;
        gst_object_unref(sink);
    }
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (sink) {
        gst_object_ref_sink(sink);
        g_object_set(sink, "sync", TRUE, nullptr);
    }
    return sink;
}

} // namespace vx::media
