#include "player2_fixture_test.h"

#include "media/midi/form22.h"

#include <QRegularExpression>

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
    QFile f(storeFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    qsizetype last = -1;
    for (const char *key : {"BackColor=", "FontColor=", "VolColor=", "VolFontColor=", "PlaySpeed=",
                            "FileInfoBoxColor=", "FileInfoBoxFontColor="}) {
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("(^|\\n)") + QLatin1String(key)));
        EXPECT_GT(at, last) << key;
        last = at;
    }
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
    vxtest::writeTestImage(path("skin.bmp"), 30, 20, Qt::blue);
    QFile bad(path("bad.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    store(keys::Skin, path("skin.bmp"));
    Form20 &p = player();
    Form21 &s = instance<Form21>();
    EXPECT_EQ(s.Image1.Picture().image.size(), QSize(30, 20));
    EXPECT_EQ(p.Image1.Picture().image.size(), QSize(30, 20));
    vxtest::dialogs().files = {std::nullopt, QStringList{path("bad.jpg")}};
    s.Command18_Click();
    s.Command18_Click();
    EXPECT_EQ(stored(keys::Skin), path("skin.bmp"));
    EXPECT_EQ(p.Image1.Picture().image.size(), QSize(30, 20));
    EXPECT_EQ(vxtest::dialogs().fileRequests.back().filter,
              QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif"));
    vxtest::writeTestImage(path("other.jpg"), 12, 8, Qt::green);
    vxtest::dialogs().files = {QStringList{path("other.jpg")}};
    s.Command18_Click();
    EXPECT_EQ(stored(keys::Skin), path("other.jpg"));
    EXPECT_EQ(p.Image1.Picture().image.size(), QSize(12, 8));
    EXPECT_EQ(s.Image1.Picture().image.size(), QSize(12, 8));
}

TEST_F(Form21Test, ResetDeletesTheSectionOnceAndTheMidiButtonShowsTheChooser)
{
    store(keys::BackColor, QStringLiteral("255"));
    Form20 &p = player();
    Form21 &s = instance<Form21>();
    s.Show();
    s.Command17_Click();
    EXPECT_EQ(stored(keys::BackColor), QStringLiteral("-"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    EXPECT_FALSE(s.Visible());
    EXPECT_EQ(p.File1.BackColor(), 255) << "the player's look stays";
    s.Show();
    s.Command17_Click();
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_TRUE(s.Visible());
    QString modal;
    vxtest::dialogs().modalScripts.push_back([&modal](Form &f) { modal = f.Name(); });
    s.Command5_Click();
    EXPECT_EQ(modal, QStringLiteral("Form22"));
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
