#include "media/volume/mvolctrl.h"
#include "media/player/player_fixture_test.h"

using namespace vx;

namespace {

using VolCtrlTest = PlayerTest;

TEST_F(VolCtrlTest, ErrorReportShowsTheBracketedCodeAndItsText)
{
    mVolCtrl::ReportMixerError(0);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    for (int code : {1, 2, 7, 12, -3})
        mVolCtrl::ReportMixerError(code);
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              (QStringList{QStringLiteral("[1] "), QStringLiteral("[2] 指定されたデバイスIDは無効です。"),
                           QStringLiteral("[7] リソースを割り当てることはできません｡"), QStringLiteral("[12] "),
                           QStringLiteral("[-3] ")}));
    for (const auto &m : vxtest::dialogs().messages)
        EXPECT_EQ(m.style, vbExclamation);
}

TEST_F(VolCtrlTest, FindReadAndWritePassResultsOnAndKeepTheRecordOnFailure)
{
    quint32 h = 0;
    ASSERT_EQ(mixerOpen(h, 0), 0);
    MixerControl c;
    c.controlId = 5;
    EXPECT_EQ(mVolCtrl::FindMixerControl(h, 9, mixer::ControlVolume, c), mixer::InvalidLine);
    EXPECT_EQ(c.controlId, 5u);
    mixer->hasVolume = false;
    EXPECT_EQ(mVolCtrl::FindMixerControl(h, mixer::ComponentSpeakers, mixer::ControlVolume, c), mixer::InvalidControl);
    EXPECT_EQ(c.controlId, 5u);
    mixer->hasVolume = true;
    EXPECT_EQ(mVolCtrl::FindMixerControl(h, mixer::ComponentSpeakers, mixer::ControlVolume, c), 0);
    EXPECT_EQ(c.controlId, 42u);
    EXPECT_EQ(mVolCtrl::ReadMixerControlValue(h, 42), 32769u);
    EXPECT_EQ(mVolCtrl::ReadMixerControlValue(0, 42), 0u) << "a failed read gives 0";
    EXPECT_EQ(mVolCtrl::WriteMixerControlValue(h, 42, 100), 0);
    EXPECT_EQ(mVolCtrl::WriteMixerControlValue(0, 42, 100), mixer::InvalidHandle);
    mixerClose(h);
}

TEST_F(VolCtrlTest, RangeAndPositionCountTenthsExceptTheLowerEnd)
{
    mixer->minimum = 20;
    mixer->maximum = 1000;
    mixer->value = 509;
    Form3 &p = player();
    EXPECT_EQ(p.Volume.UpDownWindow->Min(), 20) << "the lower end is not divided";
    EXPECT_EQ(p.Volume.UpDownWindow->Max(), 100);
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("50"));
    mixer->writes.clear();
    p.Text1.setText(QStringLiteral("1"));
    EXPECT_TRUE(mixer->writes.empty()) << "10 is below the control's range";
}

TEST_F(VolCtrlTest, WithoutAVolumeControlTheBoxShowsZeroAndWritesNothing)
{
    mixer->hasVolume = false;
    Form3 &p = player();
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("0"));
    EXPECT_EQ(p.Volume.UpDownWindow->Max(), 0);
    p.Text1.setText(QStringLiteral("300"));
    EXPECT_TRUE(mixer->writes.empty());
    EXPECT_TRUE(vxtest::dialogs().messages.empty()) << "silent";
}

} // namespace
