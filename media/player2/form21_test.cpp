#include "player2_fixture_test.h"

#include "media/midi/form22.h"

using namespace vx;
namespace keys = player2::keys;

namespace {

using Form21Test = Player2Test;

TEST_F(Form21Test, ItsControlsAndTheTwentyFourSpeeds)
{
    Form20 &p = player();
    Form21 &s = instance<Form21>();
    EXPECT_EQ(s.Caption(), QStringLiteral("Multimedia Rondix Ⅱ Setting"));
    EXPECT_EQ(s.Label1.Caption(), QStringLiteral("Multimedia Rondix Ⅱに関するすべての設定ができます"));
    EXPECT_EQ(s.Label4.Caption(), QStringLiteral("倍速"));
    ASSERT_EQ(s.Combo1.ListCount(), 24);
    EXPECT_EQ(s.Combo1.List(0), QStringLiteral("0.1"));
    EXPECT_EQ(s.Combo1.List(9), QStringLiteral("1.0"));
    EXPECT_EQ(s.Combo1.List(19), QStringLiteral("2.0"));
    EXPECT_EQ(s.Combo1.List(20), QStringLiteral("2.5"));
    EXPECT_EQ(s.Combo1.List(23), QStringLiteral("5.0"));
    s.Check1.setValue(1);
    EXPECT_EQ(p.Command1.Caption(), QStringLiteral("CLOSE"));
    EXPECT_EQ(p.Command3.Caption(), QStringLiteral("ID3TAG"));
    EXPECT_EQ(p.Command6.Caption(), QStringLiteral("SET"));
    EXPECT_EQ(p.Check2.Caption(), QStringLiteral("ONECE"));
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral("VOLUME"));
    s.Check1.setValue(0);
    EXPECT_EQ(p.Command9.Caption(), QStringLiteral("前へ"));
    EXPECT_EQ(p.Check3.Caption(), QStringLiteral("ランダム"));
}

TEST_F(Form21Test, ColoursApplyLiveCancelAppliesNothingAndCloseStoresInTableOrder)
{
    Form20 &p = player();
    Form21 &s = instance<Form21>();
    auto &colors = vxtest::dialogs().colors;
    colors = {rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(4, 4, 4), rgb(5, 5, 5), rgb(6, 6, 6), rgb(7, 7, 7),
              std::nullopt};
    s.Command13_Click();
    s.Command3_Click();
    s.Command2_Click();
    s.Command4_Click();
    s.Command10_Click();
    s.Command9_Click();
    s.Command1_Click();
    s.Command3_Click(); // cancelled
    EXPECT_EQ(p.File1.ForeColor(), rgb(1, 1, 1));
    EXPECT_EQ(p.Text1.ForeColor(), rgb(1, 1, 1));
    EXPECT_EQ(p.Label2.BackColor(), rgb(2, 2, 2));
    EXPECT_EQ(p.Drive1.BackColor(), rgb(2, 2, 2)) << "cancel kept the colour";
    EXPECT_EQ(p.Command5.BackColor(), rgb(3, 3, 3));
    EXPECT_EQ(p.Check3.BackColor(), rgb(3, 3, 3));
    EXPECT_EQ(p.Label1.BackColor(), rgb(4, 4, 4));
    EXPECT_EQ(p.Label1.ForeColor(), rgb(5, 5, 5));
    EXPECT_EQ(p.Text2.BackColor(), rgb(6, 6, 6));
    EXPECT_EQ(p.Text2.ForeColor(), rgb(7, 7, 7));
    s.Combo1.setText(QStringLiteral("2.5"));
    s.Show();
    s.Command8_Click();
    EXPECT_FALSE(s.Visible());
    EXPECT_TRUE(isLoaded<Form21>()) << "the close button only hides";
    EXPECT_EQ(stored(keys::BackColor), QString::number(rgb(2, 2, 2)));
    EXPECT_EQ(stored(keys::FontColor), QString::number(rgb(1, 1, 1)));
    EXPECT_EQ(stored(keys::VolColor), QString::number(rgb(4, 4, 4)));
    EXPECT_EQ(stored(keys::VolFontColor), QString::number(rgb(5, 5, 5)));
    EXPECT_EQ(stored(keys::PlaySpeed), QStringLiteral("2.5"));
    EXPECT_EQ(stored(keys::FileInfoBoxColor), QString::number(rgb(6, 6, 6)));
    EXPECT_EQ(stored(keys::FileInfoBoxFontColor), QString::number(rgb(7, 7, 7)));
    expectStoredInOrder(
        {"BackColor", "FontColor", "VolColor", "VolFontColor", "PlaySpeed", "FileInfoBoxColor", "FileInfoBoxFontColor"});
    // The next clip plays at the new speed, without closing the window.
    p.File1.setListIndex(0);
    EXPECT_EQ(p.MediaPlayer1.Rate(), 2.5);
}

TEST_F(Form21Test, AfterAnUnloadTheFreshWindowHoldsTheStoredSpeed)
{
    player();
    Form21 &s = instance<Form21>();
    s.Combo1.setText(QStringLiteral("0.5"));
    ASSERT_TRUE(s.Unload());
    EXPECT_EQ(stored(keys::PlaySpeed), QStringLiteral("0.5"));
    EXPECT_EQ(instance<Form21>().Combo1.Text(), QStringLiteral("0.5")) << "not the design's 1.0";
    EXPECT_EQ(player2::PlaySpeed(), 0.5);
    ASSERT_TRUE(instance<Form21>().Unload());
    EXPECT_EQ(stored(keys::PlaySpeed), QStringLiteral("0.5"));
}

TEST_F(Form21Test, SkinIsShownAndStoredWhileCancelAndBadPicturesChangeNothing)
{
    storeSkin(keys::Skin);
    player();
    Form21 &s = instance<Form21>();
    checkSkinButton(keys::Skin, s.Image1, []() -> ImageBox & { return instance<Form20>().Image1; },
                    [&s] { s.Command18_Click(); });
}

TEST_F(Form21Test, ResetDeletesTheSectionOnceAndTheMidiButtonShowsTheChooser)
{
    store(keys::BackColor, QStringLiteral("255"));
    Form20 &p = player();
    Form21 &s = instance<Form21>();
    checkResetAndMidi(s, keys::BackColor, [&p] { return p.File1.BackColor(); }, [&s] { s.Command17_Click(); },
                      [&s] { s.Command5_Click(); });
}

TEST_F(Form21Test, MidiChooserStopsTheSecondPlayerLoadingItWhenNeeded)
{
    ASSERT_FALSE(isLoaded<Form20>());
    Form22 &c = instance<Form22>();
    c.Command1_Click();
    ASSERT_TRUE(isLoaded<Form20>());
    EXPECT_FALSE(instance<Form20>().Visible());
    EXPECT_EQ(media->take(), QStringList{QStringLiteral("set Midi port -1")});
    instance<Form20>().Dir1.setPath(folder);
    instance<Form20>().File1.setListIndex(0);
    clips.log.clear();
    c.Command1_Click();
    EXPECT_EQ(clips.take(), calls({"Form20: stop"}));
}

} // namespace
