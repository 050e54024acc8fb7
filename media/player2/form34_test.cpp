#include "player2_fixture_test.h"

using namespace vx;

namespace {

using Form34Test = Player2Test;

TEST_F(Form34Test, ViewerPlaysTheCurrentEntryWhileTheWindowsPlayerIsHidden)
{
    Form20 &p = player();
    instance<Form21>().Combo1.setText(QStringLiteral("1.5"));
    p.File1.setListIndex(1);
    clips.log.clear();
    p.Command5_Click();
    ASSERT_TRUE(isShown<Form34>());
    Form34 &m = instance<Form34>();
    EXPECT_EQ(m.Caption(), QStringLiteral("Minivox WMP for Multimedia Rondix Ⅱ"));
    EXPECT_FALSE(p.MediaPlayer1.Visible());
    EXPECT_EQ(clips.take(), calls({"Form20: stop", "Form34: open b.mp3", "Form34: play", "Form34: rate 1.5",
                                   "Form34: play"}));
    EXPECT_NEAR(clips.volume[QStringLiteral("Form34")], 0.479, 0.001) << "-6.4 dB";
    EXPECT_NEAR(clips.volume[QStringLiteral("Form20")], 1.0, 0.001);
    // The control takes the window's outer size.
    m.setWidth(7200);
    m.setHeight(5400);
    EXPECT_EQ(m.MediaPlayer1.Width(), m.Width());
    EXPECT_EQ(m.MediaPlayer1.Height(), m.Height());
    // Closing it shows the window's player again.
    m.close();
    EXPECT_FALSE(isLoaded<Form34>());
    EXPECT_TRUE(p.MediaPlayer1.Visible());
}

TEST_F(Form34Test, EndOfClipWalksTheWindowsListAndStopsTheWindowsPlayer)
{
    Form20 &p = player();
    p.File1.setListIndex(0);
    p.Command5_Click();
    Form34 &m = instance<Form34>();
    clips.log.clear();
    finish(m.MediaPlayer1, QStringLiteral("Form34"));
    EXPECT_EQ(clips.take(), calls({"Form20: open b.mp3", "Form20: play", "Form20: play", "Form34: open b.mp3",
                                   "Form34: play", "Form34: play", "Form20: stop"}));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    EXPECT_FALSE(p.MediaPlayer1.Visible());
    finish(m.MediaPlayer1, QStringLiteral("Form34"));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("3/3"));
    clips.log.clear();
    finish(m.MediaPlayer1, QStringLiteral("Form34"));
    EXPECT_TRUE(clips.take().isEmpty()) << "past the last entry: the handling ends";
    // Repeat: the mini player loops, the window's player stays stopped.
    p.Check1.setValue(1);
    m.MediaPlayer1.Play();
    clips.log.clear();
    finish(m.MediaPlayer1, QStringLiteral("Form34"));
    EXPECT_EQ(clips.take(), calls({"Form34: open c.mid", "Form34: play", "Form34: play", "Form20: stop"}));
    // Once: only its own player stops.
    p.Check1.setValue(0);
    p.Check2.setValue(1);
    finish(m.MediaPlayer1, QStringLiteral("Form34"));
    EXPECT_EQ(clips.take(), calls({"Form34: stop", "Form20: stop"}));
}

TEST_F(Form34Test, RandomDrawsAnotherEntryOfTheWindowAndReplaysAnOnlyOne)
{
    Form20 &p = player();
    p.File1.setListIndex(2);
    p.Check3.setValue(1);
    p.Command5_Click();
    Form34 &m = instance<Form34>();
    for (int i = 0; i < 6; ++i) {
        const int before = p.File1.ListIndex();
        clips.log.clear();
        finish(m.MediaPlayer1, QStringLiteral("Form34"));
        EXPECT_NE(p.File1.ListIndex(), before);
        EXPECT_EQ(clips.take().last(), QStringLiteral("Form20: stop"));
    }
    QDir(folder).mkdir(QStringLiteral("one"));
    QFile one(folder + QStringLiteral("/one/x.wav"));
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.close();
    p.Dir1.setPath(folder + QStringLiteral("/one"));
    p.File1.setListIndex(0);
    clips.log.clear();
    finish(m.MediaPlayer1, QStringLiteral("Form34"));
    EXPECT_EQ(clips.take(), calls({"Form34: open x.wav", "Form34: play", "Form34: play", "Form20: stop"}));
}

TEST_F(Form34Test, WithoutAnEntryItStaysSilentAndDropsPlayInTurn)
{
    Form20 &p = player();
    p.Command5_Click();
    Form34 &m = instance<Form34>();
    EXPECT_TRUE(m.Visible());
    EXPECT_EQ(m.MediaPlayer1.PlayState(), MediaPlayer::Closed);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    clips.log.clear();
    m.OLEDragDrop({path("a.wav"), path("notes.txt"), path("c.mid")});
    clips.refused.insert(QStringLiteral("notes.txt"));
    m.OLEDragDrop({path("a.wav"), path("notes.txt"), path("c.mid")});
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応しているメディアファイルをドロップしてください")});
    const QStringList log = clips.take();
    EXPECT_EQ(log.count(QStringLiteral("Form34: open c.mid")), 1) << "the rest after a failure is skipped";
    EXPECT_EQ(p.File1.ListIndex(), -1);
}

} // namespace
