// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/gst.h>

#include "engine.h"

#include "audiosink.h"
#include "framesink.h"
#include "mci.h"
#include "offwindow.h"
#include "videowindow.h"

#include "platform/core/userfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <atomic>

namespace vx::media {

namespace {

// Only what a caller asks about stays on the bus; the rest would pile up
// between polls.
GstBusSyncReply keepWanted(GstBus *, GstMessage *msg, gpointer)
{
    switch (GST_MESSAGE_TYPE(msg)) {
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_DURATION_CHANGED:
    case GST_MESSAGE_TAG:
        return GST_BUS_PASS;
    default:
        return GST_BUS_DROP;
    }
}

} // namespace

struct PlaybackEngine::Impl {
    GstElement *pipeline = nullptr;
    GstBus *bus = nullptr;
    VideoWindow *window = nullptr;
    PlayMode mode = PlayMode::Stopped;
    bool ended = false;  // end of clip, or a failure while playing
    bool failed = false; // the stream cannot go on
    bool durationDirty = false;
    qint64 length = 0;
    qint64 lastPosition = 0;
    qint64 bytes = 0; // size of a local file
    bool lengthKnown = false; // told by the stream, not estimated
    double rate = 1.0;
    GstTagList *tags = nullptr;

    ~Impl()
    {
        release();
        if (tags)
            gst_tag_list_unref(tags);
        delete window;
    }

    void release()
    {
        if (pipeline) {
            // Joins the streaming threads: no picture arrives after this.
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
            pipeline = nullptr;
        }
        if (bus)
            gst_object_unref(bus);
        bus = nullptr;
    }

    void drainBus()
    {
        while (GstMessage *msg = gst_bus_pop(bus)) {
            switch (GST_MESSAGE_TYPE(msg)) {
            case GST_MESSAGE_ERROR:
                failed = true;
                ended = true;
                break;
            case GST_MESSAGE_EOS:
                ended = true;
                break;
            case GST_MESSAGE_DURATION_CHANGED:
                durationDirty = true;
                break;
            case GST_MESSAGE_TAG: {
                GstTagList *list = nullptr;
                gst_message_parse_tag(msg, &list);
                if (list) {
                    GstTagList *merged = gst_tag_list_merge(tags, list, GST_TAG_MERGE_KEEP);
                    if (tags)
                        gst_tag_list_unref(tags);
                    tags = merged;
                    gst_tag_list_unref(list);
                }
                break;
            }
            default:
                break;
            }
            gst_message_unref(msg);
        }
    }

    // A stream that does not tell its length: its bytes at its nominal bit
    // rate (a constant-rate MP3 without a header of its own), else unknown.
    void estimateLength()
    {
        guint bitrate = 0;
        if (!tags
            || (!gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate)
                && !gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate))
            || bitrate == 0)
            return;
        gint64 size = -1;
        if (!gst_element_query_duration(pipeline, GST_FORMAT_BYTES, &size) || size <= 0)
            size = bytes;
        if (size > 0)
            length = qint64(double(size) * 8000.0 / bitrate);
    }

    bool queryLength()
    {
        gint64 ns = -1;
        if (!gst_element_query_duration(pipeline, GST_FORMAT_TIME, &ns) || ns < 0)
            return false;
        length = ns / GST_MSECOND;
        lengthKnown = true;
        return true;
    }

    // The pipeline for `uri`, on its way to ready: the error number of the
    // start. GStreamer only: it may run off the window thread (the first
    // start loads plug-ins, and a sound server may be slow to answer).
    int build(const QByteArray &uri)
    {
        if (!gstreamerReady())
            return mci::NoEngine;
        pipeline = gst_element_factory_make("playbin", nullptr);
        GstElement *audio = makeAudioSink();
        if (!pipeline || !audio) {
            if (audio)
                gst_object_unref(audio);
            return mci::NoEngine;
        }
        gst_object_ref_sink(pipeline);
        GstElement *video = makeFrameSink(window);
        g_object_set(pipeline, "uri", uri.constData(), "audio-sink", audio, nullptr);
        if (video)
            g_object_set(pipeline, "video-sink", video, nullptr);
        gst_object_unref(audio);
        bus = gst_element_get_bus(pipeline);
        gst_bus_set_sync_handler(bus, keepWanted, nullptr, nullptr);
        if (gst_element_set_state(pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
            return mci::CannotPlay;
        return mci::NoError;
    }

    // Until the first picture or sound is ready (or the engine says it cannot
    // read the file), then until the length is known: the error number of the
    // open. Touches only this clip and GStreamer: it runs off the window
    // thread, and gives up when `stop` is set.
    int settle(const std::atomic<bool> &stop)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const GstStateChangeReturn r = gst_element_get_state(pipeline, nullptr, nullptr, 20 * GST_MSECOND);
            drainBus();
            if (failed || r == GST_STATE_CHANGE_FAILURE)
                return mci::CannotPlay;
            if (r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL)
                break;
            if (stop)
                return mci::NotOpen;
            if (clock.elapsed() > kReadyWaitMs)
                return mci::Timeout;
        }
        // Most files know their length once ready; some tell it a moment
        // later, some only while they play (the length follows then).
        clock.restart();
        while (!queryLength()) {
            if (clock.elapsed() >= kLengthWaitMs) {
                estimateLength();
                break;
            }
            gst_element_get_state(pipeline, nullptr, nullptr, 20 * GST_MSECOND);
            drainBus();
            if (failed)
                return mci::CannotPlay;
            if (ended)
                break;
            if (stop)
                return mci::NotOpen;
            g_usleep(10000);
        }
        return mci::NoError;
    }
};

PlaybackEngine::PlaybackEngine() : d(std::make_unique<Impl>()) {}
PlaybackEngine::~PlaybackEngine() = default;

std::unique_ptr<PlaybackEngine> PlaybackEngine::create(const QByteArray &uri, const QString &title, int &error)
{
    std::unique_ptr<PlaybackEngine> engine(new PlaybackEngine());
    engine->d->window = new VideoWindow(title);
    error = engine->d->build(uri);
    return error == mci::NoError ? std::move(engine) : nullptr;
}

std::unique_ptr<PlaybackEngine> PlaybackEngine::open(const QString &path, int &error,
                                                     const std::shared_ptr<bool> &cancel)
{
    const QFileInfo info(path);
    // Only a regular file goes to the engine: it would wait on a FIFO for
    // good and read a device without end.
    const userfile::Handle file = userfile::open(QFile::encodeName(path).constData(), userfile::kNoLimit);
    if (path.isEmpty() || file.status() == userfile::Status::Missing
        || file.status() == userfile::Status::NotRegular) {
        error = mci::FileNotFound;
        return nullptr;
    }
    if (!file.ok()) {
        error = mci::CannotPlay;
        return nullptr;
    }
    std::unique_ptr<PlaybackEngine> engine(new PlaybackEngine());
    Impl &d = *engine->d;
    d.window = new VideoWindow(info.fileName());
    d.bytes = file.size();
    // Some streams can only be judged by waiting for them: the start and the
    // waiting run on a worker while the window goes on painting and answering.
    const QByteArray uri = QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded();
    std::atomic<bool> stop{false};
    error = waitOffWindow(
        [&d, &uri, &stop] {
            int e = d.build(uri);
            if (e == mci::NoError)
                e = d.settle(stop);
            // A stream still being read takes a moment to stop: not on the window thread.
            if (e != mci::NoError)
                d.release();
            return e;
        },
        stop, cancel);
    return error == mci::NoError ? std::move(engine) : nullptr;
}

std::unique_ptr<PlaybackEngine> PlaybackEngine::openAddress(const QString &uri, int &error)
{
    const QByteArray encoded = QUrl(uri.trimmed()).toEncoded();
    if (!gstreamerReady()) {
        error = mci::NoEngine;
        return nullptr;
    }
    // A scheme no installed source reads (Real's own "pnm") fails at once.
    const QByteArray scheme = QUrl(uri.trimmed()).scheme().toLatin1();
    if (!gst_uri_is_valid(encoded.constData()) || !gst_uri_protocol_is_supported(GST_URI_SRC, scheme.constData())) {
        error = mci::CannotPlay;
        return nullptr;
    }
    return create(encoded, uri, error);
}

int PlaybackEngine::openProgress()
{
    const GstStateChangeReturn r = gst_element_get_state(d->pipeline, nullptr, nullptr, 0);
    d->drainBus();
    if (d->failed || r == GST_STATE_CHANGE_FAILURE)
        return mci::CannotPlay;
    if (r != GST_STATE_CHANGE_SUCCESS && r != GST_STATE_CHANGE_NO_PREROLL)
        return kPending;
    // A live stream has no length; a clip tells it now or later.
    d->queryLength();
    return mci::NoError;
}

int PlaybackEngine::play()
{
    d->drainBus();
    if (d->failed)
        return mci::CannotPlay;
    if (!d->ended && gst_element_set_state(d->pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return mci::DeviceFailed;
    // At the end (no seek since), play finds nothing left and stops at once.
    d->mode = PlayMode::Playing;
    return mci::NoError;
}

int PlaybackEngine::pause()
{
    d->drainBus();
    if (d->mode != PlayMode::Playing || d->ended)
        return mci::NoError;
    if (gst_element_set_state(d->pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return mci::DeviceFailed;
    d->mode = PlayMode::Paused;
    return mci::NoError;
}

int PlaybackEngine::stop()
{
    d->drainBus();
    if (!d->failed)
        gst_element_set_state(d->pipeline, GST_STATE_PAUSED);
    d->mode = PlayMode::Stopped;
    return mci::NoError;
}

int PlaybackEngine::seekToStart()
{
    d->drainBus();
    if (d->failed)
        return mci::CannotPlay;
    // A seek leaves the device stopped at the new place.
    gst_element_set_state(d->pipeline, GST_STATE_PAUSED);
    d->mode = PlayMode::Stopped;
    if (!gst_element_seek(d->pipeline, d->rate, GST_FORMAT_TIME,
                          GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET, 0,
                          GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
        return mci::DeviceFailed;
    // The flush drops an end message that was still on its way.
    gst_element_get_state(d->pipeline, nullptr, nullptr, 2 * GST_SECOND);
    d->drainBus();
    d->ended = d->failed;
    d->lastPosition = 0;
    return mci::NoError;
}

PlayMode PlaybackEngine::mode()
{
    d->drainBus();
    if (d->ended && d->mode == PlayMode::Playing)
        d->mode = PlayMode::Stopped;
    return d->mode;
}

qint64 PlaybackEngine::positionMs()
{
    d->drainBus();
    if (d->ended && !d->failed)
        return lengthMs();
    gint64 ns = -1;
    if (gst_element_query_position(d->pipeline, GST_FORMAT_TIME, &ns) && ns >= 0)
        d->lastPosition = ns / GST_MSECOND;
    const qint64 length = lengthMs();
    return length > 0 ? std::min(d->lastPosition, length) : d->lastPosition;
}

qint64 PlaybackEngine::lengthMs()
{
    d->drainBus();
    // A length not known at the open (or only estimated) is asked for again
    // until the stream tells it.
    if (d->durationDirty || !d->lengthKnown) {
        d->durationDirty = false;
        d->queryLength();
    }
    return d->length;
}

int PlaybackEngine::setRate(double rate)
{
    if (!(rate > 0))
        return mci::BadArguments;
    d->drainBus();
    if (d->failed)
        return mci::CannotPlay;
    if (rate == d->rate)
        return mci::NoError;
    d->rate = rate;
    // At the end there is nothing left to speed up; the next seek takes the rate along.
    if (d->ended)
        return mci::NoError;
    return seekTo(positionMs());
}

int PlaybackEngine::seekTo(qint64 ms)
{
    d->drainBus();
    if (d->failed)
        return mci::CannotPlay;
    const qint64 length = lengthMs();
    if (length > 0)
        ms = std::clamp<qint64>(ms, 0, length);
    if (!gst_element_seek(d->pipeline, d->rate, GST_FORMAT_TIME,
                          GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET,
                          std::max<qint64>(ms, 0) * GST_MSECOND, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
        return mci::DeviceFailed;
    gst_element_get_state(d->pipeline, nullptr, nullptr, 2 * GST_SECOND);
    d->drainBus();
    d->ended = d->failed;
    d->lastPosition = ms;
    if (d->mode == PlayMode::Playing)
        gst_element_set_state(d->pipeline, GST_STATE_PLAYING);
    return mci::NoError;
}

void PlaybackEngine::setVolume(double gain)
{
    g_object_set(d->pipeline, "volume", std::clamp(gain, 0.0, 1.0), nullptr);
}

namespace {
QString tagText(GstTagList *tags, const char *tag)
{
    gchar *value = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, tag, &value) || !value)
        return QString();
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}
} // namespace

QString PlaybackEngine::title()
{
    d->drainBus();
    return tagText(d->tags, GST_TAG_TITLE);
}

QString PlaybackEngine::artist()
{
    d->drainBus();
    return tagText(d->tags, GST_TAG_ARTIST);
}

void PlaybackEngine::embedVideo(QWidget *host)
{
    d->window->embedIn(host);
}

QWidget *PlaybackEngine::videoWindow() const
{
    return d->window && !d->window->frame().isNull() ? d->window : nullptr;
}

} // namespace vx::media
