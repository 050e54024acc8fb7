#include "form14.h"
#include "form32.h"
#include "viewer_fixture_test.h"

#include <QApplication>
#include <QScreen>

using namespace vx;

namespace {

class Form32Test : public ViewerTest {
protected:
    Form32 &openAt(Form2 &v, int index)
    {
        v.Show();
        v.File1.setListIndex(index);
        v.Command13_Click();
        return instance<Form32>();
    }
    static void expectFitted(const Form32 &w)
    {
        EXPECT_NEAR(w.Width(), w.Image1.Width() + 350, 15);
        EXPECT_NEAR(w.Height(), w.Image1.Height() + 1000, 15);
    }
};

TEST_F(Form32Test, ViewerButtonOpensTheSelectedPictureAndClosesAgain)
{
    store("ZQVFormLeft", QStringLiteral("2250"));
    Form2 &v = viewer();
    Form32 &w = openAt(v, 1);
    EXPECT_TRUE(w.Visible());
    EXPECT_FALSE(v.Image1.Visible());
    EXPECT_EQ(w.Image1.Width(), tw(60)) << "the selection made after the window was loaded";
    EXPECT_EQ(w.Left(), 2250);
    expectFitted(w);
    w.Move(3000, 4500);
    v.Command13_Click();
    EXPECT_FALSE(isLoaded<Form32>());
    EXPECT_TRUE(v.Image1.Visible());
    EXPECT_EQ(stored("ZQVFormLeft"), QStringLiteral("3000"));
    EXPECT_EQ(stored("ZQVFormTop"), QStringLiteral("4500"));

    openAt(v, 2).close();
    EXPECT_FALSE(isLoaded<Form32>());
    EXPECT_TRUE(v.Image1.Visible()) << "its own close box gives the viewer its picture back";
}

TEST_F(Form32Test, NextPreviousAndSlideStepMoveTheViewersSelection)
{
    Form2 &v = viewer();
    Form32 &w = openAt(v, 0);
    w.Command9_Click();
    EXPECT_EQ(v.File1.ListIndex(), 0);
    w.Command6_Click();
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("2/4"));
    EXPECT_TRUE(w.Command9.Enabled());
    EXPECT_EQ(w.Image1.Width(), tw(60));
    expectFitted(w);
    w.Command6_Click();
    w.Command6_Click(); // d.jpg cannot be shown
    w.Command6_Click();
    EXPECT_EQ(v.File1.ListIndex(), 3) << "never past the end";
    EXPECT_FALSE(w.Command6.Enabled());
    EXPECT_EQ(w.Image1.Width(), tw(20));

    // Three sizes, the last unlike anything shown before.
    QDir(folder).mkdir(QStringLiteral("three"));
    vxtest::writeTestImage(path("three/a.bmp"), 40, 30);
    vxtest::writeTestImage(path("three/b.bmp"), 60, 20);
    vxtest::writeTestImage(path("three/z.bmp"), 33, 44);
    viewer(path("three")).File1.setListIndex(1);
    w.ShowCurrent();
    ASSERT_EQ(w.Image1.Width(), tw(60));
    w.Timer1_Timer();
    EXPECT_FALSE(w.Command6.Enabled());
    EXPECT_EQ(w.Image1.Width(), tw(33)) << "the last entry is shown too";
    EXPECT_EQ(w.Image1.Height(), tw(44));
    w.Timer1_Timer();
    EXPECT_EQ(v.File1.ListIndex(), 0);
    EXPECT_EQ(w.Image1.Width(), tw(40));
    EXPECT_TRUE(w.Command6.Enabled());
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form32Test, ZoomedDisplayOnceAndAnEnlargedBoxStaysUntilReset)
{
    store("Zoom", QStringLiteral("1"));
    Form2 &v = viewer();
    instance<Form14>().Combo1.setText(QStringLiteral("2.0"));
    Form32 &w = openAt(v, 0);
    EXPECT_EQ(w.Image1.Width(), 2 * tw(40));
    w.Command6_Click();
    EXPECT_EQ(w.Image1.Width(), 2 * tw(60));
    w.Timer1_Timer();
    EXPECT_EQ(w.Image1.Height(), 2 * tw(50));

    store("Zoom", QStringLiteral("0"));
    w.Command2_Click();
    const float h = w.Image1.Height();
    EXPECT_FLOAT_EQ(h, 2 * tw(50) * 2.1f);
    w.Command9_Click();
    EXPECT_EQ(w.Image1.Height(), h);
    w.Command4_Click();
    EXPECT_EQ(w.Image1.Height(), tw(20));
    expectFitted(w);
}

TEST_F(Form32Test, AHugelyZoomedPictureNeverMakesTheWindowLargerThanTheScreen)
{
    Form2 &v = viewer();
    instance<Form14>().Combo1.setText(QStringLiteral("5.0"));
    Form32 &w = openAt(v, 1);
    for (int i = 0; i < 12; ++i)
        w.Command2_Click();
    ASSERT_GT(w.Image1.Width(), 1e6f);
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_LE(w.width(), screen.width());
    EXPECT_LE(w.height(), screen.height());
}

TEST_F(Form32Test, DroppedFilesShowTheLastWithoutMovingTheList)
{
    Form2 &v = viewer();
    Form32 &w = openAt(v, 0);
    w.OLEDragDrop({path("b.JPG"), path("c.jpeg"), path("notes.txt"), path("a.bmp")});
    EXPECT_EQ(w.Image1.Width(), tw(20));
    EXPECT_EQ(v.File1.ListIndex(), 0);
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
}

TEST_F(Form32Test, AStepWithThePictureWindowOpenDecodesOnce)
{
    Form2 &v = viewer();
    Form32 &w = openAt(v, 0);
    int decodes = 0;
    setPictureDecodeHook([&] { ++decodes; });
    w.Command6_Click();
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(w.Image1.Width(), tw(60));
    EXPECT_EQ(w.Image1.Picture().image.constBits(), v.Image1.Picture().image.constBits()) << "one picture for both";
    w.Command9_Click();
    w.Timer1_Timer();
    EXPECT_EQ(decodes, 3);

    store("Zoom", QStringLiteral("1"));
    instance<Form14>().Combo1.setText(QStringLiteral("2.0"));
    w.Command6_Click();
    EXPECT_EQ(decodes, 4);
    EXPECT_EQ(w.Image1.Width(), 2 * tw(20));
    store("Zoom", QStringLiteral("0"));

    // A file changed since the viewer showed it is read again.
    vxtest::writeTestImage(path("c.jpeg"), 30, 30);
    v.Command13_Click();
    v.Command13_Click();
    EXPECT_EQ(decodes, 5);
    EXPECT_EQ(instance<Form32>().Image1.Width(), tw(30));
    setPictureDecodeHook({});
}

} // namespace
