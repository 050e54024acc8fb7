// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include "engine.h"

#include "audiosink.h"
#include "mci.h"
#include "videowindow.h"

#include "platform/core/userfile.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdarg>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

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

// While the window thread waits for a device, timers that start handlers
// (the windows' own, a button pressed through assistive technology) are held
// back: a tick left unanswered comes again at its next interval, after the
// wait. Painting, layout, the window system and assistive technology's
// questions go on.
class HoldTimers : public QObject {
public:
    HoldTimers() { QCoreApplication::instance()->installEventFilter(this); }
    ~HoldTimers() override { QCoreApplication::instance()->removeEventFilter(this); }
    HoldTimers(const HoldTimers &) = delete;
    HoldTimers &operator=(const HoldTimers &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::Timer
               && (qobject_cast<QTimer *>(watched) || qobject_cast<QAbstractButton *>(watched));
    }
};

int g_waits = 0; // waits on the window thread's stack
// How long the window thread waits as a plain call before it goes on
// painting while it waits: a quick open ends within it.
constexpr int kQuietWaitMs = 20;

// Runs `work` on a worker and gives its result. On the window thread the
// wait is a local event loop without user input (a handler run meanwhile
// may set *cancel: `stop` then tells the work to give up); elsewhere a plain
// wait.
int waitOffWindow(const std::function<int()> &work, std::atomic<bool> &stop, const std::shared_ptr<bool> &cancel)
{
    QCoreApplication *app = QCoreApplication::instance();
    QAbstractEventDispatcher *dispatcher =
        app && QThread::currentThread() == app->thread() ? QAbstractEventDispatcher::instance() : nullptr;
    std::mutex lock;
    std::condition_variable doneChanged;
    bool done = false;
    int result = mci::NoError;
    std::thread worker([&] {
        const int r = work();
        {
            const std::lock_guard<std::mutex> hold(lock);
            result = r;
            done = true;
        }
        doneChanged.notify_all();
        if (dispatcher)
            dispatcher->wakeUp();
    });
    // Whatever leaves this function (an exception out of a handler run
    // meanwhile too) ends the work first.
    struct Join {
        std::thread &worker;
        std::atomic<bool> &stop;
        ~Join()
        {
            stop = true;
            worker.join();
        }
    } join{worker, stop};
    const auto isDone = [&] {
        const std::lock_guard<std::mutex> hold(lock);
        return done;
    };
    {
        // A quick open ends here, without a round of events.
        std::unique_lock<std::mutex> hold(lock);
        doneChanged.wait_for(hold, std::chrono::milliseconds(dispatcher ? kQuietWaitMs : INT_MAX),
                             [&done] { return done; });
    }
    if (!isDone()) {
        struct Depth {
            Depth() { ++g_waits; }
            ~Depth() { --g_waits; }
        };
        std::optional<HoldTimers> holding;
        if (g_waits == 0)
            holding.emplace();
        const Depth depth;
        while (!isDone()) {
            if (cancel && *cancel)
                stop = true;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        }
    }
    if (cancel && *cancel)
        return mci::NotOpen;
    const std::lock_guard<std::mutex> hold(lock);
    return result;
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

    static GstFlowReturn onSample(GstAppSink *sink, gpointer self) { return deliver(sink, self, false); }
    static GstFlowReturn onPreroll(GstAppSink *sink, gpointer self) { return deliver(sink, self, true); }

    static GstFlowReturn deliver(GstAppSink *sink, gpointer self, bool preroll)
    {
        GstSample *sample = preroll ? gst_app_sink_pull_preroll(sink) : gst_app_sink_pull_sample(sink);
        if (!sample)
            return GST_FLOW_OK;
        auto *impl = static_cast<Impl *>(self);
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
                impl->window->offerFrame(frame.copy());
            }
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
        return GST_FLOW_OK;
    }

    GstElement *makeVideoSink()
    {
        GstElement *sink = gst_element_factory_make("appsink", nullptr);
        if (!sink)
            return nullptr;
        GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
        g_object_set(sink, "caps", caps, "max-buffers", 2, "drop", TRUE, "sync", TRUE, nullptr);
        gst_caps_unref(caps);
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = &Impl::onSample;
        callbacks.new_preroll = &Impl::onPreroll;
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
        return sink;
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
        GstElement *video = makeVideoSink();
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
