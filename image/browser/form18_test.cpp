#include "browser_fixture_test.h"
#include "form18.h"
#include "form33.h"
#include "frmfullscreen.h"

using namespace vx;
using vxtest::dialogs;

namespace {

using Form18Test = BrowserTest;

TEST_F(Form18Test, LoadTakesTheStoredChoicesAndInterval)
{
    store("Window", QStringLiteral("1"));
    store("Zoom", QStringLiteral("abc"));
    store("Speed", QStringLiteral("12000"));
    Form18 &s = instance<Form18>();
    EXPECT_EQ(s.Caption(), QStringLiteral("Graphic Rondix Ⅱ Setting"));
    EXPECT_EQ(s.Check1.Value(), 1);
    EXPECT_EQ(s.Check2.Value(), 0);
    EXPECT_EQ(s.HScroll1.Value(), 12000);
    EXPECT_EQ(s.Text1.Text(), QStringLiteral("12000"));
    EXPECT_EQ(s.Combo1.Text(), QStringLiteral("1.0"));
    EXPECT_EQ(s.Combo1.count(), 24);
    // Closed with its close box and opened again: the user's interval stays.
    s.close();
    EXPECT_EQ(stored("Speed"), QStringLiteral("12000"));
    EXPECT_EQ(instance<Form18>().HScroll1.Value(), 12000);
}

TEST_F(Form18Test, ColourButtonsActAtOnceCloseStoresThemAndCancelChangesNothing)
{
    frmSum &b = browserAt(folder);
    Form18 &s = instance<Form18>();
    // Cancelled before any colour was chosen: nothing is painted black.
    dialogs().colors = {std::nullopt, std::nullopt, 111, 222, 333, 444, 555, 666, std::nullopt, std::nullopt};
    s.Command5_Click();
    s.Command11_Click();
    EXPECT_EQ(b.Picture4.ForeColor(), 8454016);
    EXPECT_EQ(instance<frmFullScreen>().BackColor(), 0);
    s.Command7_Click();
    s.Command3_Click();
    s.Command4_Click();
    s.Command5_Click();
    s.Command9_Click();
    s.Command11_Click();
    EXPECT_EQ(b.BackColor(), 111);
    EXPECT_EQ(instance<Form33>().BackColor(), 111);
    EXPECT_EQ(b.File.BackColor(), 222);
    EXPECT_EQ(b.Label1.BackColor(), 222);
    EXPECT_EQ(b.Command1[24]->BackColor(), 333);
    EXPECT_EQ(b.Picture3.BackColor(), 333);
    EXPECT_EQ(b.Picture4.ForeColor(), 444);
    EXPECT_EQ(b.Picture4.BackColor(), 555);
    EXPECT_EQ(instance<frmFullScreen>().BackColor(), 666);
    b.setBackColor(777);
    s.Command7_Click(); // cancelled
    s.Command4_Click(); // cancelled
    EXPECT_EQ(b.BackColor(), 777) << "a cancelled colour dialog changes nothing";
    EXPECT_EQ(b.Command1[0]->BackColor(), 333);
    b.setBackColor(111);

    s.Check1.setValue(1);
    s.Check2.setValue(1);
    s.Show();
    s.Command8_Click();
    EXPECT_FALSE(s.Visible());
    EXPECT_TRUE(isLoaded<Form18>());
    EXPECT_EQ(stored("FormColor"), QStringLiteral("111"));
    EXPECT_EQ(stored("FileColor"), QStringLiteral("222"));
    EXPECT_EQ(stored("PicColor"), QStringLiteral("444"));
    EXPECT_EQ(stored("PicBackColor"), QStringLiteral("555"));
    EXPECT_EQ(stored("SumColor"), QStringLiteral("333"));
    EXPECT_EQ(stored("FullColor"), QStringLiteral("666"));
    EXPECT_EQ(stored("Speed"), QStringLiteral("5000"));
    EXPECT_EQ(stored("Window"), QStringLiteral("1"));
    EXPECT_EQ(stored("Zoom"), QStringLiteral("1"));

    // The next start restores them.
    unload<frmSum>();
    unload<Form18>();
    frmSum &again = instance<frmSum>();
    EXPECT_EQ(again.BackColor(), 111);
    EXPECT_EQ(again.Command1[3]->BackColor(), 333);
    EXPECT_EQ(instance<frmFullScreen>().BackColor(), 666);
}

TEST_F(Form18Test, SkinPictureCancelAndBrokenFileChangeNothing)
{
    frmSum &b = browserAt(folder);
    Form18 &s = instance<Form18>();
    vxtest::writeTestImage(path(QStringLiteral("skin.bmp")), 30, 20);
    writeFile(QStringLiteral("broken.jpg"), "nope");
    dialogs().files = {QStringList{path(QStringLiteral("skin.bmp"))}, std::nullopt,
                       QStringList{path(QStringLiteral("broken.jpg"))}};
    s.Command6_Click();
    EXPECT_EQ(b.Picture().image.width(), 30);
    EXPECT_EQ(dialogs().fileRequests[0].filter, QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif"));
    s.Command6_Click();
    s.Command6_Click();
    EXPECT_EQ(b.Picture().image.width(), 30);
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(Form18Test, IntervalTextTakesOnlyWholeNumbersInRangeAndDrivesTheBrowsersTimer)
{
    frmSum &b = browserAt(folder);
    Form18 &s = instance<Form18>();
    s.Text1.setText(QStringLiteral("8000"));
    EXPECT_EQ(s.HScroll1.Value(), 8000);
    EXPECT_EQ(b.Timer1.Interval(), 8000);
    for (const char *text : {"", "8", "abc", "999", "30001", "2.5e3", "-4000"}) {
        s.Text1.setText(QString::fromLatin1(text));
        EXPECT_EQ(s.HScroll1.Value(), 8000) << text;
    }
    s.HScroll1.setValue(3000);
    EXPECT_EQ(s.Text1.Text(), QStringLiteral("3000"));
    EXPECT_EQ(b.Timer1.Interval(), 3000);
}

TEST_F(Form18Test, ResetDeletesTheSectionOnceAndThenStaysOpen)
{
    store("FormKind", QStringLiteral("2"));
    Form18 &s = instance<Form18>();
    s.Show();
    s.Command10_Click();
    EXPECT_EQ(dialogs().messageTexts(), QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    EXPECT_FALSE(s.Visible());
    EXPECT_EQ(stored("FormKind"), QStringLiteral("-"));
    s.Show();
    s.Command10_Click();
    EXPECT_EQ(dialogs().messages.size(), 1u) << "nothing to delete: no message";
    EXPECT_TRUE(s.Visible());
}

TEST_F(Form18Test, UnloadWritesTheBrowsersLooksWithoutLoadingIt)
{
    Form18 &s = instance<Form18>();
    s.HScroll1.setValue(9000);
    s.Unload();
    EXPECT_FALSE(isLoaded<frmSum>());
    EXPECT_EQ(stored("Speed"), QStringLiteral("9000"));
    EXPECT_EQ(stored("FormColor"), QStringLiteral("-"));

    frmSum &b = browserAt(folder);
    b.Command3.setBackColor(4242);
    unload<Form18>();
    EXPECT_EQ(stored("BottonColor"), QStringLiteral("4242"));
    EXPECT_EQ(stored("FontBold"), QStringLiteral("False"));
    EXPECT_EQ(stored("FormColor"), QStringLiteral("0"));
    EXPECT_EQ(stored("SumColor"), QString::number(syscolor::ActiveBorder));
}

} // namespace
