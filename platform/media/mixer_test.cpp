#include "mixer.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace vx;

namespace {

TEST(MixerScale, DeviceRangeMapsLinearlyOntoTheMixerScaleAndBack)
{
    EXPECT_EQ(toMixerScale(0, 0, 87), 0u);
    EXPECT_EQ(toMixerScale(87, 0, 87), 65535u);
    EXPECT_EQ(toMixerScale(-20, -40, 0), 32768u) << "middle of a range below zero";
    EXPECT_EQ(toMixerScale(100, 0, 87), 65535u) << "clamped";
    EXPECT_EQ(toMixerScale(-5, 0, 87), 0u);
    EXPECT_EQ(toMixerScale(3, 5, 5), 0u) << "an empty range";
    EXPECT_EQ(fromMixerScale(0, 0, 87), 0);
    EXPECT_EQ(fromMixerScale(65535, 0, 87), 87);
    EXPECT_EQ(fromMixerScale(70000, 0, 87), 87);
    EXPECT_EQ(fromMixerScale(32768, -40, 0), -20);
    for (long v = 0; v <= 255; ++v)
        EXPECT_EQ(fromMixerScale(toMixerScale(v, 0, 255), 0, 255), v) << "every step survives the round trip";
}

// CI machines have no sound card: the real mixer then reports that no mixer
// device is there, and every later call on the unopened handle is refused.
TEST(AlsaMixer, WithoutASoundCardOpenReportsNoMixerDevice)
{
    QFile cards(QStringLiteral("/proc/asound/cards"));
    if (cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards"))
        GTEST_SKIP() << "this machine has a sound card";
    auto alsa = makeAlsaMixerDriver();
    quint32 handle = 99;
    EXPECT_EQ(alsa->open(0, handle), mixer::NoDriver);
    EXPECT_EQ(handle, 0u);
    quint32 line = 0;
    MixerControl control;
    quint32 value = 0;
    EXPECT_EQ(alsa->lineInfo(0, mixer::ComponentSpeakers, line), mixer::InvalidHandle);
    EXPECT_EQ(alsa->lineControl(0, 0, mixer::ControlVolume, control), mixer::InvalidHandle);
    EXPECT_EQ(alsa->getValue(0, 1, value), mixer::InvalidHandle);
    EXPECT_EQ(alsa->setValue(0, 1, 100), mixer::InvalidHandle);
    EXPECT_EQ(alsa->close(0), mixer::InvalidHandle);
}

} // namespace
