#include "player3_fixture_test.h"

#include "media/midi/form22.h"

using namespace vx;
namespace keys = player3::keys;

namespace {

using Form12Test = Player3Test;

TEST_F(Form12Test, HeaderAndTheCaptionsInEnglishOrJapanese)
{
    FormVX3 &p = player();
    Form12 &s = instance<Form12>();
    EXPECT_EQ(s.Caption(), QStringLiteral("Multimedia Rondix Ⅲ Setting"));
    EXPECT_EQ(s.Label1.Caption(), QStringLiteral("Multimedia Rondix Ⅲに関するすべての設定ができます"));
    EXPECT_EQ(s.Command1.Caption(), QStringLiteral("MIDIデバイス変更"));
    s.Check1.setValue(1);
    EXPECT_EQ(p.Command1.Caption(), QStringLiteral("CLOSE"));
    EXPECT_EQ(p.Command6.Caption(), QStringLiteral("SET UP"));
    EXPECT_EQ(p.Command7.Caption(), QStringLiteral("NEXT"));
    EXPECT_EQ(p.Command8.Caption(), QStringLiteral("DETAILS"));
    EXPECT_EQ(p.Command9.Caption(), QStringLiteral("BACK"));
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral("VOLUME"));
    EXPECT_EQ(p.Check1.Caption(), QStringLiteral("REPEAT"));
    EXPECT_EQ(p.Check2.Caption(), QStringLiteral("STANDARD"));
    s.Check1.setValue(0);
    EXPECT_EQ(p.Command6.Caption(), QStringLiteral("設定"));
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral("ボリューム"));
    EXPECT_EQ(p.Check1.Caption(), QStringLiteral("繰り返し再生"));
    EXPECT_EQ(p.Check2.Caption(), QStringLiteral("標準再生"));
}

TEST_F(Form12Test, ColoursApplyLiveCancelAppliesNothingAndCloseStoresInTableOrder)
{
    FormVX3 &p = player();
    Form12 &s = instance<Form12>();
    vxtest::dialogs().colors = {std::nullopt, rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(4, 4, 4), rgb(5, 5, 5),
                                std::nullopt, std::nullopt};
    // Cancel the first time leaves the colour as it was.
    s.Command10_Click();
    EXPECT_EQ(p.Label1.ForeColor(), syscolor::WindowBackground);
    s.Command13_Click();
    s.Command3_Click();
    s.Command2_Click();
    s.Command4_Click();
    s.Command10_Click();
    s.Command3_Click(); // cancelled
    s.Command4_Click(); // cancelled
    for (int colour : {p.Drive1.ForeColor(), p.Dir1.ForeColor(), p.File1.ForeColor(), p.Label2.ForeColor(),
                       p.Text1.ForeColor(), p.Text2.ForeColor()})
        EXPECT_EQ(colour, rgb(1, 1, 1));
    for (int colour : {p.Drive1.BackColor(), p.Dir1.BackColor(), p.File1.BackColor(), p.Label2.BackColor(),
                       p.Text1.BackColor(), p.Text2.BackColor()})
        EXPECT_EQ(colour, rgb(2, 2, 2)) << "cancel kept the colour";
    EXPECT_EQ(p.Command5.BackColor(), rgb(3, 3, 3));
    EXPECT_EQ(p.Check2.BackColor(), rgb(3, 3, 3));
    EXPECT_EQ(p.Label1.BackColor(), rgb(4, 4, 4));
    EXPECT_EQ(p.Label1.ForeColor(), rgb(5, 5, 5));
    s.Show();
    s.Command8_Click();
    EXPECT_FALSE(s.Visible());
    EXPECT_TRUE(isLoaded<Form12>()) << "the close button only hides";
    EXPECT_EQ(stored(keys::BackColor), QString::number(rgb(2, 2, 2)));
    EXPECT_EQ(stored(keys::FontColor), QString::number(rgb(1, 1, 1)));
    EXPECT_EQ(stored(keys::VolColor), QString::number(rgb(4, 4, 4)));
    EXPECT_EQ(stored(keys::VolFontColor), QString::number(rgb(5, 5, 5)));
    expectStoredInOrder({"BackColor", "FontColor", "VolColor", "VolFontColor"});
    // The next start shows the stored colours; the unload stores them as well.
    suite::DeleteSection(keys::Section);
    ASSERT_TRUE(s.Unload());
    EXPECT_EQ(stored(keys::VolFontColor), QString::number(rgb(5, 5, 5)));
}

TEST_F(Form12Test, SkinIsShownAndStoredWhileCancelAndBadPicturesChangeNothing)
{
    storeSkin(keys::Skin);
    player();
    Form12 &s = instance<Form12>();
    checkSkinButton(keys::Skin, s.Image1, []() -> ImageBox & { return instance<FormVX3>().Image1; },
                    [&s] { s.Command18_Click(); });
    // A skin gone since leaves only the preview out.
    QFile::remove(path("other.jpg"));
    ASSERT_TRUE(s.Unload());
    EXPECT_TRUE(instance<Form12>().Image1.Picture().image.isNull());
    EXPECT_EQ(instance<Form12>().MousePointer(), 99);
}

TEST_F(Form12Test, ResetDeletesTheSectionOnceAndTheMidiButtonShowsTheChooser)
{
    store(keys::BackColor, QStringLiteral("255"));
    FormVX3 &p = player();
    Form12 &s = instance<Form12>();
    checkResetAndMidi(s, keys::BackColor, [&p] { return p.File1.BackColor(); }, [&s] { s.Command17_Click(); },
                      [&s] { s.Command1_Click(); });
}

} // namespace
