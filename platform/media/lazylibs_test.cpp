// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/gst.h>

#include "audiosink.h"
#include "engine.h"
#include "platform/core/lazylibs.h"
#include "mci.h"
#include "mixer.h"

#include <gtest/gtest.h>

namespace {

using vx::LazyLibrary;

// Each name's first call goes through the stub that loads the library: what
// the caller passed must reach the real function untouched, in registers, on
// the stack, in a variadic list and in a floating-point register.
TEST(LazyLibraries, FirstCallsReachTheLibraryWithTheirArguments)
{
    ASSERT_FALSE(vx::lazyLibraryLoaded(LazyLibrary::GStreamer)) << "nothing has called it yet";
    ASSERT_TRUE(vx::media::gstreamerReady());
    EXPECT_TRUE(vx::lazyLibraryLoaded(LazyLibrary::GStreamer));

    GstCaps *caps = gst_caps_new_simple("audio/x-raw", "rate", G_TYPE_INT, 44100, "channels", G_TYPE_INT, 2,
                                        "depth", G_TYPE_INT, 16, nullptr);
    ASSERT_NE(caps, nullptr);
    const GstStructure *s = gst_caps_get_structure(caps, 0);
    int rate = 0, channels = 0, depth = 0;
    EXPECT_TRUE(gst_structure_get_int(s, "rate", &rate));
    EXPECT_TRUE(gst_structure_get_int(s, "channels", &channels));
    EXPECT_TRUE(gst_structure_get_int(s, "depth", &depth));
    EXPECT_EQ(rate, 44100);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(depth, 16);
    gst_caps_unref(caps);

    EXPECT_EQ(gst_util_uint64_scale(3000000000ull, 7, 3), 7000000000ull);

    GstElement *volume = gst_element_factory_make("volume", nullptr);
    ASSERT_NE(volume, nullptr);
    gst_object_ref_sink(volume);
    g_object_set(volume, "volume", 0.25, "mute", TRUE, nullptr);
    double gain = 0;
    gboolean mute = FALSE;
    g_object_get(volume, "volume", &gain, "mute", &mute, nullptr);
    EXPECT_DOUBLE_EQ(gain, 0.25);
    EXPECT_TRUE(mute);
    gst_object_unref(volume);
}

// Without the library (not installed), the step that needed it fails as it
// does without a device; the program goes on.
TEST(LazyLibraries, AMissingLibraryFailsOnlyTheStepThatNeedsIt)
{
    vx::setLazyLibraryFile(LazyLibrary::GStreamer, "libvx-not-installed.so.0");
    vx::setLazyLibraryFile(LazyLibrary::Alsa, "libvx-not-installed.so.0");
    EXPECT_FALSE(vx::media::gstreamerReady());
    int error = 0;
    EXPECT_EQ(vx::media::PlaybackEngine::openAddress(QStringLiteral("http://127.0.0.1/a.mp3"), error), nullptr);
    EXPECT_EQ(error, vx::mci::NoEngine);

    auto alsa = vx::makeAlsaMixerDriver();
    quint32 handle = 99;
    EXPECT_EQ(alsa->open(0, handle), vx::mixer::NoDriver);
    EXPECT_EQ(handle, 0u);
    EXPECT_FALSE(vx::lazyLibraryLoaded(LazyLibrary::GStreamer));
}

// The environment changes only on the thread that asks for the output, before
// the thread that loads it starts: another thread of ours reading the
// environment meanwhile (a CD read parsing its sheet) would crash otherwise.
TEST(LazyLibraries, PreparingTheOutputSetsTheEnvironmentBeforeItReturns)
{
    qunsetenv("GST_ID3_TAG_ENCODING");
    vx::media::prepareAudioOutput();
    EXPECT_EQ(qgetenv("GST_ID3_TAG_ENCODING"), QByteArray("CP932"));
}

} // namespace
