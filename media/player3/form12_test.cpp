#include "player3_fixture_test.h"

#include "media/midi/form22.h"

#include <QRegularExpression>

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
    QFile f(storeFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    qsizetype last = -1;
    for (const char *key : {"BackColor=", "FontColor=", "VolColor=", "VolFontColor="}) {
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("(^|\\n)") + QLatin1String(key)));
        EXPECT_GT(at, last) << key;
        last = at;
    }
    // The next start shows the stored colours; the unload stores them as well.
    suite::DeleteSection(keys::Section);
    ASSERT_TRUE(s.Unload());
    EXPECT_EQ(stored(keys::VolFontColor), QString::number(rgb(5, 5, 5)));
}

TEST_F(Form12Test, SkinIsShownAndStoredWhileCancelAndBadPicturesChangeNothing)
{
    vxtest::writeTestImage(path("skin.bmp"), 30, 20, Qt::blue);
    QFile bad(path("bad.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    store(keys::Skin, path("skin.bmp"));
    FormVX3 &p = player();
    Form12 &s = instance<Form12>();
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
    s.Command1_Click();
    EXPECT_EQ(modal, QStringLiteral("Form22"));
}

} // namespace
