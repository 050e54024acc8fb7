// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/gst.h>
#include <alsa/asoundlib.h>

#include "audiosink.h"

#include <atomic>
#include <cstdlib>
#include <initializer_list>
#include <system_error>
#include <thread>

namespace vx::media {

namespace {

// ALSA reports a missing device on stderr as well as to its caller.
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

} // namespace

namespace {

// Tag text that is not UTF-8 is the Japanese code page, as the files' own
// platform wrote it. Set from the window thread before any thread of ours
// starts: a change of the environment while another thread reads it (Qt does,
// for its regular expressions) can take that thread down.
void setTagEncoding()
{
    // The C library's own call: GStreamer's would load it on this thread.
    static const int set = ::setenv("GST_ID3_TAG_ENCODING", "CP932", 0);
    (void)set;
}

} // namespace

bool gstreamerReady()
{
    static const bool ready = [] {
        snd_lib_error_set_handler(quietAlsa);
        setTagEncoding();
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
    // The first output found usable is tried first from then on: probing one
    // that is not there costs a connection attempt at every stream.
    static std::atomic<int> found{-1};
    const char *const names[] = {"pulsesink", "alsasink"};
    const int first = found.load();
    for (int k = -1; k < 2; ++k) {
        const int i = k < 0 ? first : k;
        if (i < 0 || (k >= 0 && k == first))
            continue;
        GstElement *sink = gst_element_factory_make(names[i], nullptr);
        if (!sink)
            continue;
        gst_object_ref_sink(sink);
        const bool usable = gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
        gst_element_set_state(sink, GST_STATE_NULL);
        if (usable) {
            found = i;
            return sink;
        }
        gst_object_unref(sink);
    }
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (sink) {
        gst_object_ref_sink(sink);
        g_object_set(sink, "sync", TRUE, nullptr);
    }
    return sink;
}

namespace {
std::atomic<bool> prepared{false};
} // namespace

bool audioOutputPrepared()
{
    return prepared;
}

void prepareAudioOutput()
{
    // Joined when the program ends: plug-ins loading while the process
    // takes its libraries down would break GStreamer's type system.
    struct Preparer {
        std::thread thread;
        ~Preparer()
        {
            if (thread.joinable())
                thread.join();
        }
    };
    static Preparer preparer;
    static std::atomic<bool> started{false};
    if (started.exchange(true))
        return;
    setTagEncoding();
    try {
        preparer.thread = std::thread([] {
            if (!gstreamerReady())
                return;
            for (const char *name : {"appsrc", "audioconvert", "audioresample"})
                if (GstElement *e = gst_element_factory_make(name, nullptr))
                    gst_object_unref(gst_object_ref_sink(e));
            if (GstElement *sink = makeAudioSink())
                gst_object_unref(sink);
            prepared = true;
        });
    } catch (const std::system_error &) {
        // No thread: the first play loads it all itself.
    }
}

} // namespace vx::media
