#include "image/magnifier/form13.h"
#include "form14.h"
#include "form32.h"
#include "viewer_fixture_test.h"

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

    QDir(folder).mkdir(QStringLiteral("three"));
    for (const char *name : {"a.bmp", "b.JPG", "c.jpeg"})
        QFile::copy(path(name), path("three/") + QLatin1String(name));
    viewer(path("three")).File1.setListIndex(1);
    w.Timer1_Timer();
    EXPECT_FALSE(w.Command6.Enabled());
    EXPECT_EQ(w.Image1.Width(), tw(20)) << "the last entry is shown too";
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

class Form13Test : public ViewerTest {};

TEST_F(Form13Test, CopiesOnlyTheAreaAroundThePointerStretchedToItsPicture)
{
    Form13 &m = instance<Form13>();
    EXPECT_TRUE(m.Timer1.Enabled());
    EXPECT_EQ(m.copyArea(QPoint(500, 400)), QRect(458, 365, 90, 67));
    m.Timer1_Timer();
    EXPECT_EQ(m.Picture2.Picture().size(), m.Picture2.size());
    EXPECT_TRUE(m.Picture1.Picture().isNull());
    EXPECT_TRUE(m.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(Form13Test, ToggledByTheViewerAndClosedFromItsMenu)
{
    Form2 &v = viewer();
    v.Command5_Click();
    EXPECT_TRUE(isShown<Form13>());
    v.IDMZOOM_Click();
    EXPECT_FALSE(isLoaded<Form13>());

    v.Command5_Click();
    Form13 &m = instance<Form13>();
    m.Picture2_MouseDown(1, 0, 0, 0);
    EXPECT_TRUE(vxtest::dialogs().popups.isEmpty()) << "the left button drags";
    vxtest::dialogs().popupScripts.push_back([](Menu &menu) { menu.findChild<Menu *>(QStringLiteral("end"))->click(); });
    m.Picture2_MouseDown(2, 0, 0, 0);
    EXPECT_EQ(vxtest::dialogs().popups, QStringList{QStringLiteral("Form13.Menu")});
    EXPECT_FALSE(isLoaded<Form13>());
}

} // namespace
