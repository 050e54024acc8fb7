#include "browser_fixture_test.h"
#include "form33.h"
#include "frmfullscreen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

using namespace vx;

namespace {

class FrmFullScreenTest : public BrowserTest {
protected:
    frmSum &browserWithThree()
    {
        vxtest::writeTestImage(path(QStringLiteral("a.bmp")), 40, 30);
        vxtest::writeTestImage(path(QStringLiteral("b.bmp")), 60, 20);
        vxtest::writeTestImage(path(QStringLiteral("c.bmp")), 20, 50);
        frmSum &b = browserAt(folder);
        b.Show();
        return b;
    }
    static void release(QWidget *w, Qt::Key key, bool autoRepeat = false)
    {
        QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(FrmFullScreenTest, CoversTheScreenAndCentresEvenAPictureLargerThanIt)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    vxtest::writeTestImage(path(QStringLiteral("big.bmp")), screen.width() + 200, screen.height() + 100);
    frmSum &b = browserAt(folder);
    frmFullScreen &full = instance<frmFullScreen>();
    EXPECT_EQ(full.Width(), toTwips(screen.width()));
    EXPECT_EQ(full.Height(), toTwips(screen.height()));
    b.File.setListIndex(0);
    ASSERT_TRUE(full.Visible());
    EXPECT_TRUE(full.windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(full.Picture1.Stretch()) << "shown at its own size, never a scaled copy";
    EXPECT_EQ(full.Picture1.Width(), toTwips(screen.width() + 200));
    EXPECT_NEAR(full.Picture1.Left(), -1500, 15);
    EXPECT_NEAR(full.Picture1.Top(), -750, 15);
}

TEST_F(FrmFullScreenTest, ArrowsStepOnReleaseBeepAtEitherEndAndNeverWrap)
{
    frmSum &b = browserWithThree();
    frmFullScreen &full = instance<frmFullScreen>();
    const int beeps = frmFullScreen::beeps();
    b.File.setListIndex(0);
    release(&full.Picture1, Qt::Key_Left);
    EXPECT_EQ(frmFullScreen::beeps(), beeps + 1);
    EXPECT_EQ(b.File.ListIndex(), 0);
    release(&full.Picture1, Qt::Key_Right);
    EXPECT_EQ(b.File.ListIndex(), 1);
    EXPECT_EQ(full.Picture1.Width(), 60 * 15);
    release(&full.Picture1, Qt::Key_Right, true);
    EXPECT_EQ(b.File.ListIndex(), 1) << "a held key's repeats do not step";
    release(&full.Picture1, Qt::Key_Right);
    release(&full.Picture1, Qt::Key_Right);
    EXPECT_EQ(b.File.ListIndex(), 2);
    EXPECT_EQ(frmFullScreen::beeps(), beeps + 2);
    EXPECT_TRUE(full.Visible());
    release(&full.Picture1, Qt::Key_Up);
    EXPECT_EQ(b.File.ListIndex(), 2);

    b.File.clearSelection();
    b.File.setCurrentRow(-1);
    full.Picture1_KeyUp(37);
    EXPECT_EQ(frmFullScreen::beeps(), beeps + 3) << "nothing selected: a beep";
}

TEST_F(FrmFullScreenTest, ClickOrCharacterKeyClosesAndPausesTheSlideShow)
{
    frmSum &b = browserWithThree();
    frmFullScreen &full = instance<frmFullScreen>();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_A}) {
        b.File.setListIndex(b.File.ListIndex() == 0 ? 1 : 0);
        ASSERT_TRUE(full.Visible());
        QTest::keyClick(&full.Picture1, key);
        EXPECT_FALSE(full.Visible()) << key;
        EXPECT_TRUE(full.Picture1.Picture().isNull());
        EXPECT_EQ(b.Command5.Caption(), QStringLiteral("スライド再開")) << "even with no show running";
    }
    b.Command5_Click();
    b.Timer1_Timer();
    ASSERT_TRUE(full.Visible());
    QTest::mouseClick(full.client(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(full.Visible());
    EXPECT_FALSE(b.Timer1.Enabled());
    EXPECT_EQ(b.Command5.ToolTipText(), QStringLiteral("スライドショーを再開します"));
    b.File.setListIndex(2);
    full.Picture1.Click();
    EXPECT_FALSE(full.Visible());
}

TEST_F(FrmFullScreenTest, WithThePictureWindowSetAnArrowBringsUpForm33)
{
    frmSum &b = browserWithThree();
    frmFullScreen &full = instance<frmFullScreen>();
    b.File.setListIndex(0);
    store("Window", QStringLiteral("1"));
    release(&full.Picture1, Qt::Key_Right);
    EXPECT_EQ(b.File.ListIndex(), 1);
    EXPECT_TRUE(instance<Form33>().Visible());
    EXPECT_EQ(instance<Form33>().Image1.Width(), 60 * 15);
    EXPECT_EQ(full.Picture1.Width(), 40 * 15) << "this window keeps the previous picture";
}

} // namespace
