#include "player3_fixture_test.h"

#include <QApplication>
#include <QPointer>

using namespace vx;

namespace {

using Form35Test = Player3Test;

TEST_F(Form35Test, OpensPlayingThePlayersCurrentEntryInItsOwnConsole)
{
    FormVX3 &p = player();
    p.File1.setListIndex(0);
    p.Show();
    take();
    p.Command5_Click();
    Form35 &v = instance<Form35>();
    EXPECT_EQ(v.Caption(), QStringLiteral("Minivox RP for Multimedia Rondix Ⅲ"));
    EXPECT_EQ(v.RealAudio1.Controls(), QStringLiteral("ImageWindow"));
    EXPECT_EQ(v.RealAudio1.ConsoleName(), QStringLiteral("two"));
    EXPECT_EQ(take(), calls({"one: stop", "two: source a.wav", "two: play"}));
    EXPECT_EQ(v.RealAudio1.PlayState(), ConsolePlayer::Playing);
    EXPECT_EQ(p.RealAudio1.PlayState(), ConsolePlayer::Stopped) << "the player's own console is apart";
    EXPECT_EQ(p.RealAudio1.Source(), path("a.wav"));
}

TEST_F(Form35Test, WithoutAnEntryNothingPlaysAndThePairStays)
{
    FormVX3 &p = player();
    p.Show();
    p.Command5_Click();
    EXPECT_EQ(take(), calls({"one: stop", "two: source ", "two: play"}));
    EXPECT_TRUE(instance<Form35>().RealAudio1.Source().endsWith(QLatin1Char('/')));
    EXPECT_EQ(instance<Form35>().RealAudio1.PlayState(), ConsolePlayer::Stopped);
    EXPECT_TRUE(instance<Form35>().Visible());
    EXPECT_TRUE(instance<Form36>().Visible());
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form35Test, DropsPlayInTurnUntilOneIsRefused)
{
    refused = {"b.rm"};
    player();
    Form35 &v = instance<Form35>();
    take();
    ASSERT_TRUE(v.OLEDragDrop);
    v.OLEDragDrop({path("a.wav"), path("c.png")});
    EXPECT_EQ(take(), calls({"two: stop", "two: source a.wav", "two: play", "two: stop", "two: source c.png", "two: play"}));
    EXPECT_EQ(v.RealAudio1.Source(), path("c.png"));
    v.OLEDragDrop({path("b.rm"), path("a.wav")});
    EXPECT_EQ(take(), calls({"two: stop", "two: source b.rm", "two: play"}));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応しているメディアファイルをドロップしてください")});
}

TEST_F(Form35Test, ThePictureTakesTheWindowsOuterSize)
{
    Form35 &v = instance<Form35>();
    v.Show();
    v.setWidth(6000);
    v.setHeight(4500);
    EXPECT_NEAR(v.RealAudio1.Width(), v.Width(), 15);
    EXPECT_NEAR(v.RealAudio1.Height(), v.Height(), 15);
}

TEST_F(Form35Test, ClosingEitherClosesBothOnceAndShowsThePlayer)
{
    for (bool fromPicture : {true, false}) {
        FormVX3 &p = player();
        p.Show();
        p.Command5_Click();
        p.Hide();
        QPointer<Form35> picture = &instance<Form35>();
        QPointer<Form36> panel = &instance<Form36>();
        if (fromPicture)
            picture->close();
        else
            panel->close();
        QApplication::processEvents();
        EXPECT_FALSE(isLoaded<Form35>()) << fromPicture;
        EXPECT_FALSE(isLoaded<Form36>()) << fromPicture;
        EXPECT_TRUE(p.Visible()) << fromPicture;
        // Opened again, the pair plays afresh.
        p.Command5_Click();
        EXPECT_TRUE(instance<Form35>().Visible());
        ASSERT_TRUE(instance<Form35>().Unload());
        EXPECT_FALSE(isLoaded<Form36>());
    }
}

} // namespace
