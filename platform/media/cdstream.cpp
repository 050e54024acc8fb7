// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include "cdstream.h"

#include "audiosink.h"
#include "mci.h"

#include <atomic>
#include <chrono>

namespace vx::cd {

namespace {
// A third of a second a buffer.
constexpr int kChunkSectors = 25;

GstClockTime timeOf(qint64 sectors)
{
    return gst_util_uint64_scale(guint64(sectors), GST_SECOND, kSectorsPerSecond);
}
} // namespace

struct CdStream::Impl {
    std::shared_ptr<CdMedium> medium;
    std::vector<Run> runs;
    qint64 total = 0;                 // sectors of all runs
    GstElement *pipeline = nullptr;
    GstElement *source = nullptr;     // owned by the pipeline
    GstBus *bus = nullptr;
    // Written by the streaming thread only.
    qint64 fed = 0;                   // sectors handed to the output so far
    std::atomic<qint64> failedAt{-1}; // index of the sector that could not be read
    std::atomic<bool> finished{false};
    bool ended = false;               // the output played to the end of what it got

    ~Impl()
    {
        if (pipeline) {
            // Joins the streaming thread: no read runs after this.
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
        }
        if (bus)
            gst_object_unref(bus);
    }

    qint32 sectorAt(qint64 index) const
    {
        for (const Run &r : runs) {
            if (index < r.end - r.first)
                return qint32(r.first + index);
            index -= r.end - r.first;
        }
        return runs.empty() ? 0 : runs.back().end;
    }

    // On the streaming thread: the next buffer, or the end.
    void feed()
    {
        if (finished)
            return;
        const qint64 left = total - fed;
        if (left <= 0) {
            finished = true;
            gst_app_src_end_of_stream(GST_APP_SRC(source));
            return;
        }
        // Within one run: a buffer never spans a skipped data track.
        qint64 index = fed;
        qint32 lsn = 0;
        qint64 inRun = 0;
        for (const Run &r : runs) {
            if (index < r.end - r.first) {
                lsn = qint32(r.first + index);
                inRun = r.end - r.first - index;
                break;
            }
            index -= r.end - r.first;
        }
        const int count = int(std::min<qint64>({kChunkSectors, left, inRun}));
        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, gsize(count) * kSectorBytes, nullptr);
        GstMapInfo map;
        int good = 0; // sectors read before the first that failed
        if (buffer && gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
            std::unique_lock guard(medium->lock, std::chrono::milliseconds(kLockWaitMs));
            if (guard.owns_lock()) {
                auto *out = reinterpret_cast<char *>(map.data);
                if (medium->readAudio(lsn, count, out) == mci::NoError) {
                    good = count;
                } else {
                    // Sector by sector: the sound plays up to the one that fails.
                    while (good < count && medium->readAudio(lsn + good, 1, out + good * kSectorBytes) == mci::NoError)
                        ++good;
                }
            }
            gst_buffer_unmap(buffer, &map);
        }
        if (good > 0) {
            gst_buffer_set_size(buffer, gssize(good) * kSectorBytes);
            GST_BUFFER_PTS(buffer) = timeOf(fed);
            GST_BUFFER_DURATION(buffer) = timeOf(fed + good) - timeOf(fed);
            fed += good;
            gst_app_src_push_buffer(GST_APP_SRC(source), buffer); // takes the buffer
        } else if (buffer) {
            gst_buffer_unref(buffer);
        }
        if (good < count) {
            failedAt = fed;
            finished = true;
            gst_app_src_end_of_stream(GST_APP_SRC(source));
        }
    }

    static void onNeedData(GstAppSrc *, guint, gpointer self) { static_cast<Impl *>(self)->feed(); }

    void drainBus()
    {
        while (GstMessage *msg = gst_bus_pop(bus)) {
            const GstMessageType type = GST_MESSAGE_TYPE(msg);
            if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR)
                ended = true;
            gst_message_unref(msg);
        }
    }
};

CdStream::CdStream() : d(std::make_unique<Impl>()) {}
CdStream::~CdStream() = default;

std::unique_ptr<CdStream> CdStream::start(std::shared_ptr<CdMedium> medium, std::vector<Run> runs, int &error)
{
    if (!media::gstreamerReady()) {
        error = mci::NoEngine;
        return nullptr;
    }
    std::unique_ptr<CdStream> stream(new CdStream());
    Impl &d = *stream->d;
    d.medium = std::move(medium);
    d.runs = std::move(runs);
    for (const Run &r : d.runs)
        d.total += r.end - r.first;
    d.pipeline = gst_pipeline_new(nullptr);
    GstElement *src = gst_element_factory_make("appsrc", nullptr);
    GstElement *convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement *resample = gst_element_factory_make("audioresample", nullptr);
    GstElement *sink = media::makeAudioSink();
    if (!d.pipeline || !src || !convert || !resample || !sink) {
        for (GstElement *e : {src, convert, resample})
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        if (sink)
            gst_object_unref(sink);
        error = mci::NoEngine;
        return nullptr;
    }
    gst_object_ref_sink(d.pipeline);
    gst_bin_add_many(GST_BIN(d.pipeline), src, convert, resample, sink, nullptr);
    gst_object_unref(sink); // the bin holds it now
    d.source = src;
    // Red Book sound: 16-bit little-endian stereo at 44.1 kHz.
    GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate", G_TYPE_INT, 44100,
                                        "channels", G_TYPE_INT, 2, "layout", G_TYPE_STRING, "interleaved", nullptr);
    g_object_set(src, "caps", caps, "format", GST_FORMAT_TIME, "max-bytes", guint64(kChunkSectors * 2 * kSectorBytes),
                 nullptr);
    gst_caps_unref(caps);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = &Impl::onNeedData;
    gst_app_src_set_callbacks(GST_APP_SRC(src), &callbacks, &d, nullptr);
    if (!gst_element_link_many(src, convert, resample, sink, nullptr)) {
        error = mci::NoEngine;
        return nullptr;
    }
    d.bus = gst_element_get_bus(d.pipeline);
    if (gst_element_set_state(d.pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        error = mci::DeviceFailed;
        return nullptr;
    }
    error = mci::NoError;
    return stream;
}

int CdStream::pause()
{
    if (gst_element_set_state(d->pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return mci::DeviceFailed;
    return mci::NoError;
}

int CdStream::resume()
{
    if (gst_element_set_state(d->pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return mci::DeviceFailed;
    return mci::NoError;
}

bool CdStream::ended()
{
    d->drainBus();
    return d->ended;
}

qint32 CdStream::position()
{
    if (ended()) {
        const qint64 failed = d->failedAt;
        return d->sectorAt(failed >= 0 ? failed : d->total);
    }
    gint64 ns = -1;
    qint64 index = 0;
    if (gst_element_query_position(d->pipeline, GST_FORMAT_TIME, &ns) && ns > 0)
        index = qint64(gst_util_uint64_scale(guint64(ns), kSectorsPerSecond, GST_SECOND));
    return d->sectorAt(std::min(index, d->total));
}

} // namespace vx::cd
