// Form16 beside Form8 (fake drive): live colours, the skin, reset, and the
// four colours stored at close and unload.
#include "cd_fixture_test.h"

#include "suite/keys.h"

using namespace vx;
namespace keys = cdplayer::keys;

namespace {

using Form16Test = CdTest;

TEST_F(Form16Test, ColoursApplyAtOnceCancelAppliesNothingAndCloseStoresFour)
{
    Form8 &p = player();
    Form16 &s = instance<Form16>();
    EXPECT_EQ(s.Caption(), QStringLiteral("AudioCD Rondix Setting"));
    EXPECT_EQ(s.Command17.ToolTipText(), QStringLiteral("初期設定に戻します"));
    auto &colors = vxtest::dialogs().colors;
    colors = {255, std::nullopt, rgb(0, 0, 128), rgb(1, 2, 3), rgb(4, 5, 6)};
    s.Command1_Click();
    EXPECT_EQ(p.Label1.BackColor(), 255);
    s.Command5_Click(); // cancelled
    EXPECT_EQ(p.Label1.ForeColor(), syscolor::WindowBackground) << "cancel applies nothing";
    s.Command3_Click();
    for (qint32 c : {p.Drive2.BackColor(), p.Dir2.BackColor(), p.File2.BackColor(), p.Label4.BackColor(), p.Text1.BackColor()})
        EXPECT_EQ(c, rgb(0, 0, 128));
    s.Command4_Click();
    EXPECT_EQ(p.Text1.ForeColor(), rgb(1, 2, 3));
    EXPECT_EQ(p.Drive2.ForeColor(), rgb(1, 2, 3));
    s.Command2_Click();
    for (CommandButton *b : {&p.Command1, &p.Command2, &p.Command3, &p.Command4, &p.Command5, &p.Command6, &p.Command7,
                             &p.Command8, &p.Command9, &p.Command10})
        EXPECT_EQ(b->BackColor(), rgb(4, 5, 6)) << b->Name().toStdString();
    EXPECT_EQ(stored(keys::BackColor), QStringLiteral("-")) << "nothing stored before the close";
    s.Command8_Click();
    EXPECT_FALSE(isLoaded<Form16>());
    EXPECT_EQ(stored(keys::VolColor), QStringLiteral("255"));
    EXPECT_EQ(stored(keys::VolFontColor), QStringLiteral("-2147483643"));
    EXPECT_EQ(stored(keys::BackColor), QString::number(rgb(0, 0, 128)));
    EXPECT_EQ(stored(keys::FontColor), QString::number(rgb(1, 2, 3)));
    EXPECT_EQ(stored(suite::keys::BottonColor), QStringLiteral("-")) << "button colours are not stored";

    // The next load of the player takes them.
    p.Unload();
    Form8 &again = instance<Form8>();
    EXPECT_EQ(again.Label4.BackColor(), rgb(0, 0, 128));
    EXPECT_EQ(again.File2.ForeColor(), rgb(1, 2, 3));
    EXPECT_EQ(again.Label1.BackColor(), 255);
    EXPECT_EQ(again.Command3.BackColor(), syscolor::ButtonFace);
}

TEST_F(Form16Test, SkinCancelAndNoPictureStoreNothingAndAPictureIsStoredAtOnce)
{
    vxtest::writeTestImage(path("skin.jpg"), 40, 30, Qt::yellow);
    store(keys::Skin, path("skin.jpg"));
    Form8 &p = player();
    Form16 &s = instance<Form16>();
    EXPECT_EQ(s.Image1.Picture().image.width(), 40) << "the stored skin as preview";
    auto &files = vxtest::dialogs().files;
    files = {std::nullopt, QStringList{path("r.gif")}, QStringList{path("p.bmp")}};
    s.Command6_Click();
    EXPECT_EQ(p.Image2.Picture().image.width(), 40) << "cancel keeps the skin";
    EXPECT_EQ(stored(keys::Skin), path("skin.jpg"));
    EXPECT_EQ(vxtest::dialogs().fileRequests.at(0).filter,
              QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif"));
    s.Command6_Click();
    EXPECT_EQ(p.Image2.Picture().image.width(), 40) << "no picture: nothing applied";
    EXPECT_EQ(stored(keys::Skin), path("skin.jpg"));
    s.Command6_Click();
    EXPECT_EQ(p.Image2.Picture().image.width(), 30);
    EXPECT_EQ(stored(keys::Skin), path("p.bmp"));
    EXPECT_EQ(stored(keys::VolColor), QStringLiteral("-")) << "only the skin is stored at once";
    s.Unload();
    EXPECT_EQ(stored(keys::VolColor), QStringLiteral("0")) << "unload stores too";
}

TEST_F(Form16Test, ResetDeletesTheSectionOnceAndAMissingSkinStillSetsThePointer)
{
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("11"));
    store(keys::Skin, path("gone.jpg"));
    Form8 &p = player();
    p.Label1.setBackColor(255);
    Form16 &s = instance<Form16>();
    EXPECT_EQ(s.MousePointer(), 11);
    EXPECT_TRUE(s.Image1.Picture().isNull());
    checkResetAndMidi(s, keys::Section, keys::Skin, [&p] { return p.Label1.BackColor(); }, [&s] { s.Command17_Click(); },
                      {});
}

TEST_F(Form16Test, SettingsButtonShowsTheWindowModally)
{
    Form8 &p = player();
    bool ran = false;
    vxtest::dialogs().modalScripts.push_back([&](Form &f) {
        ran = f.Name() == QLatin1String("Form16");
        static_cast<Form16 &>(f).Command8_Click();
    });
    p.Command6_Click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(vxtest::dialogs().modals, QStringList{QStringLiteral("Form16")});
    EXPECT_EQ(stored(keys::BackColor), QStringLiteral("0"));
}

} // namespace
