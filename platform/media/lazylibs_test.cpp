// GStreamer first: its headers use names that Qt defines as macros.
#include <gst/gst.h>

#include "audiosink.h"
#include "lazylibs.h"

#include <gtest/gtest.h>

namespace {

using vx::media::LazyLibrary;

// Each name's first call goes through the stub that loads the library: what
// the caller passed must reach the real function untouched, in registers, on
// the stack, in a variadic list and in a floating-point register.
TEST(LazyLibraries, FirstCallsReachTheLibraryWithTheirArguments)
{
    ASSERT_FALSE(vx::media::lazyLibraryLoaded(LazyLibrary::GStreamer)) << "nothing has called it yet";
    ASSERT_TRUE(vx::media::gstreamerReady());
    EXPECT_TRUE(vx::media::lazyLibraryLoaded(LazyLibrary::GStreamer));

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

} // namespace
