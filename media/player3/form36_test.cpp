#include "player3_fixture_test.h"

#include "platform/media/fixtures_test.h"
#include "platform/media/transportbar.h"

#include <QAbstractButton>
#include <QElapsedTimer>

using namespace vx;

namespace {

using Form36Test = Player3Test;

QAbstractButton *button(ConsolePlayer &p, const char *name)
{
    for (auto *b : p.findChildren<QAbstractButton *>())
        if (b->accessibleName() == QString::fromUtf8(name))
            return b;
    return nullptr;
}

TEST_F(Form36Test, ItsPanelDrivesTheClipDroppedOnThePicture)
{
    // The real engine, to the null sink when there is no sound card.
    setMediaPlayerDriverFactory({});
    ASSERT_TRUE(mediatest::writeWav(path("tone.wav"), 3000));
    player();
    Form35 &picture = instance<Form35>();
    Form36 &panel = instance<Form36>();
    EXPECT_EQ(panel.Caption(), QStringLiteral("Multimedia Rondix Viewer Ⅲ Controler"));
    EXPECT_EQ(panel.RealAudio1.Controls(), QStringLiteral("ControlPanel"));
    EXPECT_EQ(panel.RealAudio1.ConsoleName(), QStringLiteral("two"));
    picture.OLEDragDrop({path("tone.wav")});
    ASSERT_EQ(picture.RealAudio1.PlayState(), ConsolePlayer::Playing);
    button(panel.RealAudio1, "停止")->click();
    EXPECT_EQ(picture.RealAudio1.PlayState(), ConsolePlayer::Stopped);
    button(panel.RealAudio1, "再生")->click();
    EXPECT_EQ(picture.RealAudio1.PlayState(), ConsolePlayer::Playing);
    EXPECT_TRUE(panel.RealAudio1.panel()->statusText().startsWith(QStringLiteral("再生中")));
    button(panel.RealAudio1, "一時停止")->click();
    EXPECT_EQ(picture.RealAudio1.PlayState(), ConsolePlayer::Paused);
    EXPECT_EQ(instance<FormVX3>().RealAudio1.PlayState(), ConsolePlayer::Stopped);
}

TEST_F(Form36Test, ThePanelFollowsTheWindowAndKeepsItsSizeBelowTheMargins)
{
    Form36 &panel = instance<Form36>();
    panel.Show();
    panel.setWidth(6000);
    panel.setHeight(1800);
    EXPECT_NEAR(panel.RealAudio1.Width(), panel.Width() - 113, 15);
    EXPECT_NEAR(panel.RealAudio1.Height(), panel.Height() - 400, 15);
    const double width = panel.RealAudio1.Width();
    const double height = panel.RealAudio1.Height();
    panel.setHeight(300);
    EXPECT_EQ(panel.RealAudio1.Width(), width);
    EXPECT_EQ(panel.RealAudio1.Height(), height);
}

} // namespace
