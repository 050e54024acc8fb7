#include "browser_fixture_test.h"
#include "form18.h"
#include "form33.h"
#include "frmfullscreen.h"

#include <QScreen>

using namespace vx;

namespace {

class Form33Test : public BrowserTest {
protected:
    Form33 &openAt(int index)
    {
        vxtest::writeTestImage(path(QStringLiteral("a.bmp")), 40, 30);
        vxtest::writeTestImage(path(QStringLiteral("b.bmp")), 60, 20);
        vxtest::writeTestImage(path(QStringLiteral("c.bmp")), 20, 50);
        store("Window", QStringLiteral("1"));
        frmSum &b = browserAt(folder);
        b.Show();
        b.File.setListIndex(index);
        return instance<Form33>();
    }
    static void expectFitted(const Form33 &w)
    {
        EXPECT_NEAR(w.Width(), w.Image1.Width() + 350, 15);
        EXPECT_NEAR(w.Height(), w.Image1.Height() + 1000, 15);
    }
};

TEST_F(Form33Test, ShowsTheBrowsersSelectionAndKeepsItsOwnPlace)
{
    store("ZQV2FormLeft", QStringLiteral("2250"));
    store("ZQV2FormTop", QStringLiteral("nonsense"));
    Form33 &w = openAt(1);
    EXPECT_EQ(w.Caption(), QStringLiteral("Graphic Rondix Ⅱ Viewer"));
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Image1.Width(), 60 * 15);
    EXPECT_EQ(w.Left(), 2250);
    EXPECT_EQ(w.Top(), 1500) << "not a number: the default";
    expectFitted(w);
    w.Move(3000, 4500);
    instance<frmSum>().Command2_Click();
    EXPECT_FALSE(isLoaded<Form33>()) << "the browser's close unloads its picture window";
    EXPECT_EQ(stored("ZQV2FormLeft"), QStringLiteral("3000"));
    EXPECT_EQ(stored("ZQV2FormTop"), QStringLiteral("4500"));
    EXPECT_EQ(stored("ZQVFormLeft", "Graphic Rondix"), QStringLiteral("-")) << "never the first viewer's keys";
}

TEST_F(Form33Test, NextPreviousAndSlideStepMoveTheBrowsersSelectionAndShowTheLastEntry)
{
    Form33 &w = openAt(0);
    frmSum &b = instance<frmSum>();
    w.Command9_Click();
    EXPECT_EQ(b.File.ListIndex(), 0);
    w.Command6_Click();
    EXPECT_EQ(b.File.ListIndex(), 1);
    EXPECT_EQ(w.Image1.Width(), 60 * 15);
    EXPECT_TRUE(w.Command9.Enabled());
    w.Command6_Click();
    w.Command6_Click();
    EXPECT_EQ(b.File.ListIndex(), 2) << "never past the end";
    EXPECT_FALSE(w.Command6.Enabled());
    b.File.setListIndex(1);
    w.Timer1_Timer();
    EXPECT_EQ(b.File.ListIndex(), 2);
    EXPECT_EQ(w.Image1.Width(), 20 * 15) << "the slide step shows the last entry too";
    w.Timer1_Timer();
    EXPECT_EQ(b.File.ListIndex(), 0);
    EXPECT_EQ(w.Image1.Width(), 40 * 15);

    instance<Form18>().HScroll1.setValue(7000);
    w.Command10_Click();
    EXPECT_EQ(w.Timer1.Interval(), 7000) << "the interval of the browser's settings window";
    EXPECT_EQ(w.Command10.Caption(), QStringLiteral("スライド停止"));
}

TEST_F(Form33Test, ZoomTakesTheBrowsersRatioFromTheNaturalSizeOnceAndNeverGrowsPastTheScreen)
{
    store("Zoom", QStringLiteral("1"));
    ASSERT_TRUE(instance<Form18>().Combo1.Text() == QStringLiteral("1.0"));
    instance<Form18>().Combo1.setText(QStringLiteral("2.0"));
    Form33 &w = openAt(0);
    w.ShowCurrent();
    EXPECT_EQ(w.Image1.Width(), 80 * 15);
    w.Command6_Click();
    EXPECT_EQ(w.Image1.Width(), 120 * 15) << "from the natural size, not the last picture's";
    EXPECT_EQ(w.Image1.Height(), 40 * 15);
    w.Command2_Click();
    EXPECT_FLOAT_EQ(w.Image1.Width(), 120 * 15 * 2.1f);
    w.Command4_Click();
    EXPECT_EQ(w.Image1.Width(), 60 * 15);

    instance<Form18>().Combo1.setText(QStringLiteral("5.0"));
    for (int i = 0; i < 12; ++i)
        w.Command2_Click();
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_LE(w.Width(), toTwips(screen.width()));
    EXPECT_LE(w.Height(), toTwips(screen.height()));
    EXPECT_GT(w.Image1.Width(), toTwips(screen.width()));
}

TEST_F(Form33Test, DroppedFilesShowAndANonPictureGetsTheMessage)
{
    Form33 &w = openAt(0);
    vxtest::writeTestImage(path(QStringLiteral("drop.png")), 33, 44);
    writeFile(QStringLiteral("notes.txt"), "text");
    w.Form_OLEDragDrop({path(QStringLiteral("drop.png")), path(QStringLiteral("notes.txt"))});
    EXPECT_EQ(w.Image1.Width(), 33 * 15);
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応している画像ファイルをドロップしてください")});
}

} // namespace
