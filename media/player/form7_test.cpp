#include "form7.h"
#include "player_fixture_test.h"

using namespace vx;
namespace keys = player::keys;

namespace {

using Form7Test = PlayerTest;

TEST_F(Form7Test, ColourButtonsPaintTheirTargetsAndCancelPaintsNothing)
{
    Form3 &p = player();
    Form7 &s = instance<Form7>();
    auto &colors = vxtest::dialogs().colors;
    colors = {255, rgb(0, 0, 128), std::nullopt, rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9), rgb(10, 11, 12)};
    s.Command5_Click();
    for (auto *c : std::initializer_list<Control<QWidget> *>{&p.Text1})
        EXPECT_EQ(c->ForeColor(), 255);
    EXPECT_EQ(p.File1.ForeColor(), 255);
    EXPECT_EQ(p.Drive2.ForeColor(), 255);
    EXPECT_EQ(p.Label4.ForeColor(), 255);
    s.Command3_Click();
    EXPECT_EQ(p.Dir2.BackColor(), rgb(0, 0, 128));
    EXPECT_EQ(p.Label2.BackColor(), rgb(0, 0, 128));
    s.Command4_Click(); // cancelled
    EXPECT_EQ(p.Label1.BackColor(), syscolor::WindowBackground) << "cancel applies nothing";
    s.Command9_Click();
    EXPECT_EQ(p.Label5.ForeColor(), rgb(1, 2, 3));
    s.Command2_Click();
    EXPECT_EQ(p.Check3.BackColor(), rgb(4, 5, 6));
    EXPECT_EQ(p.Command10.BackColor(), rgb(4, 5, 6));
    s.Command14_Click();
    s.Command15_Click();
    EXPECT_EQ(p.ProgressBar1.BarColor(), rgb(7, 8, 9));
    EXPECT_EQ(p.ProgressBar1.BarBackColor(), rgb(10, 11, 12));
    s.Show();
    s.Command8_Click();
    EXPECT_FALSE(s.Visible());
    EXPECT_EQ(stored(keys::FontColor), QStringLiteral("255"));
    EXPECT_EQ(stored(keys::BackColor), QString::number(rgb(0, 0, 128)));
    EXPECT_EQ(stored(keys::CrystalColor), QStringLiteral("0"));
    EXPECT_EQ(stored(keys::CrystalFontColor), QString::number(rgb(1, 2, 3)));
    EXPECT_EQ(stored(keys::VolColor), QString::number(syscolor::WindowBackground));
    EXPECT_EQ(stored(keys::VolFontColor), QStringLiteral("0"));
    EXPECT_EQ(stored(keys::ProgressKind), QStringLiteral("1"));
    EXPECT_EQ(stored(QLatin1StringView("BottonColor")), QStringLiteral("-")) << "button colours are not stored";

    // The next load of the player takes them.
    p.Unload();
    Form3 &again = instance<Form3>();
    EXPECT_EQ(again.Label2.ForeColor(), 255);
    EXPECT_EQ(again.Text1.BackColor(), rgb(0, 0, 128));
    EXPECT_EQ(again.Label3.ForeColor(), rgb(1, 2, 3));
    EXPECT_EQ(again.Command10.BackColor(), syscolor::ButtonFace);
}

TEST_F(Form7Test, EnglishCaptionsAndPauseGivesBackItsJapaneseCaption)
{
    Form3 &p = player();
    Form7 &s = instance<Form7>();
    s.Check1.setValue(1);
    EXPECT_EQ(p.Command1.Caption(), QStringLiteral("CLOSE"));
    EXPECT_EQ(p.Command8.Caption(), QStringLiteral("DETAILS"));
    EXPECT_EQ(p.Check2.Caption(), QStringLiteral("ONECE"));
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral("VOLUME"));
    EXPECT_EQ(p.Command10.Caption(), QStringLiteral("Multimedia Rondix Ⅱ"));
    p.Command4_Click();
    EXPECT_EQ(p.Command4.Caption(), QStringLiteral("一時停止"));
    EXPECT_EQ(p.Command5.Caption(), QStringLiteral("PLAY"));
    s.Check1.setValue(0);
    EXPECT_EQ(p.Command9.Caption(), QStringLiteral("前へ"));
    EXPECT_EQ(p.Check3.Caption(), QStringLiteral("ランダム"));
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral("ボリューム"));
}

TEST_F(Form7Test, ProgressStyleTogglesAndIsStoredByTheCloseBox)
{
    Form3 &p = player();
    Form7 &s = instance<Form7>();
    s.Command16_Click();
    EXPECT_EQ(p.ProgressBar1.Scrolling(), 0);
    s.Command16_Click();
    s.Command16_Click();
    EXPECT_EQ(p.ProgressBar1.Scrolling(), 0);
    s.close();
    EXPECT_EQ(stored(keys::ProgressKind), QStringLiteral("0"));
}

TEST_F(Form7Test, SkinIsShownInBothAndStoredButCancelAndNonPicturesChangeNothing)
{
    vxtest::writeTestImage(QDir(programDir()).filePath(QStringLiteral("skin1.jpg")), 12, 8);
    Form3 &p = player();
    EXPECT_EQ(p.Image2.Picture().image.size(), QSize(12, 8)) << "the default skin";
    Form7 &s = instance<Form7>();
    EXPECT_EQ(s.Image1.Picture().image.size(), QSize(12, 8));
    auto &files = vxtest::dialogs().files;
    files = {std::nullopt, QStringList{path("r.jpg")}, QStringList{path("p.bmp")}};
    s.Command6_Click();
    EXPECT_EQ(p.Image2.Picture().image.size(), QSize(12, 8)) << "cancel keeps the skin";
    EXPECT_EQ(stored(keys::Skin), QStringLiteral("-"));
    s.Command6_Click();
    EXPECT_EQ(p.Image2.Picture().image.size(), QSize(12, 8)) << "not a picture";
    EXPECT_EQ(stored(keys::Skin), QStringLiteral("-"));
    s.Command6_Click();
    EXPECT_EQ(p.Image2.Picture().image.size(), QSize(30, 20));
    EXPECT_EQ(s.Image1.Picture().image.size(), QSize(30, 20));
    EXPECT_EQ(stored(keys::Skin), path("p.bmp"));
    EXPECT_EQ(vxtest::dialogs().fileRequests.back().filter,
              QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif"));
}

TEST_F(Form7Test, ResetDeletesTheSectionOnceAndTheMidiButtonShowsTheChooser)
{
    store(keys::CrystalColor, QStringLiteral("255"));
    Form3 &p = player();
    Form7 &s = instance<Form7>();
    EXPECT_TRUE(s.Command7.isEnabled());
    checkResetAndMidi(s, keys::Section, keys::CrystalColor, [&p] { return p.Label3.BackColor(); },
                      [&s] { s.Command17_Click(); }, [&s] { s.Command7_Click(); });
}

} // namespace
