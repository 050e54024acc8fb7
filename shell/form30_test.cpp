#include "suite/settings.h"
#include "image/viewer/form2.h"
#include "shell/form1.h"
#include "shell/form30.h"
#include "shell/frmabout.h"
#include "testing/harness.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

const QString kSection = QStringLiteral("MainForm0");

class Form30Test : public vxtest::GuiTest {
protected:
    // Help viewers are remembered program-wide: none may outlive its test.
    void TearDown() override
    {
        vx::HelpCloseAll();
        GuiTest::TearDown();
    }
    static QString stored(const QString &key) { return suite::GetSetting(kSection, key, QStringLiteral("-")); }
    void putHelpFile()
    {
        QFile f(programDir() + QStringLiteral("/help.chm"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        vxtest::shell().programs[QStringLiteral("xchm")] = QStringLiteral("/usr/bin/xchm");
    }
};

// A window's name as the X server holds it for the desktop.
QByteArray xProperty(QWidget &w, const char *name)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11->connection();
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, qstrlen(name), name), nullptr);
    const xcb_atom_t property = atom ? atom->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(atom);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, static_cast<xcb_window_t>(w.winId()), property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    QByteArray value = reply ? QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                                          xcb_get_property_value_length(reply))
                             : QByteArray("<none>");
    std::free(reply);
    return value;
}

TEST_F(Form30Test, EmptyCaptionLeavesTheWindowNamelessOnTheDesktop)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        // The desktop's view needs an X server: this test again, on one of its own.
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfb.isEmpty())
            GTEST_SKIP() << "xvfb-run is not installed";
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        // The X keyboard library reads past the end of strings it hands to
        // strndup; the strict check of a sanitizing build would stop there.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":strict_string_checks=0"));
        child.setProcessEnvironment(env);
        child.start(xvfb, {QStringLiteral("-a"), QCoreApplication::applicationFilePath(), QStringLiteral("-platform"),
                           QStringLiteral("xcb"),
                           QStringLiteral("--gtest_filter=Form30Test.EmptyCaptionLeavesTheWindowNamelessOnTheDesktop")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray out = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        return;
    }
    Form30 &f = vx::instance<Form30>();
    f.Show();
    QApplication::processEvents();
    EXPECT_EQ(xProperty(f, "_NET_WM_NAME"), QByteArray());
    EXPECT_EQ(xProperty(f, "WM_NAME"), QByteArray());
    EXPECT_EQ(xProperty(f, "WM_CLASS").isEmpty(), false);

    // Named windows keep their names.
    frmAbout &about = vx::instance<frmAbout>();
    about.Show();
    QApplication::processEvents();
    EXPECT_EQ(QString::fromUtf8(xProperty(about, "_NET_WM_NAME")), QStringLiteral("Velmora 2002のバージョン情報"));
}

TEST_F(Form30Test, StoredComboTextIsSelectedAndNothingOpens)
{
    suite::SaveSetting(kSection, QStringLiteral("ComboText"), QStringLiteral("Kinvoke"));
    Form30 &f = vx::instance<Form30>();
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("Kinvoke"));
    EXPECT_EQ(vx::FormRegistry::all().size(), 1u);
}

TEST_F(Form30Test, StoredComboTextNotInTheListKeepsTheFirstItem)
{
    suite::SaveSetting(kSection, QStringLiteral("ComboText"), QStringLiteral("kinvoke"));
    Form30 &f = vx::instance<Form30>();
    EXPECT_EQ(f.Combo1.ListIndex(), 0);
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("Graphic Rondix"));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form30Test, ColoursFromTheStoreAndFallbackForNonNumbers)
{
    suite::SaveSetting(kSection, QStringLiteral("FormColor"), QStringLiteral("255"));
    suite::SaveSetting(kSection, QStringLiteral("BottonColor"), QStringLiteral("blue"));
    suite::SaveSetting(kSection, QStringLiteral("ComboColor"), QStringLiteral("65280"));
    suite::SaveSetting(kSection, QStringLiteral("ComboFontColor"), QStringLiteral("16711680"));
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("FormTemae"), QStringLiteral("1"));
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("0"));
    Form30 &f = vx::instance<Form30>();
    EXPECT_EQ(f.BackColor(), 255);
    EXPECT_EQ(f.Picture1.BackColor(), 255);
    EXPECT_EQ(f.Command1.BackColor(), -2147483638);
    EXPECT_EQ(f.Combo1.BackColor(), 65280);
    EXPECT_EQ(f.Combo1.ForeColor(), 16711680);
    EXPECT_EQ(f.Combo1.palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_TRUE(f.Topmost());
    EXPECT_EQ(f.MousePointer(), vx::kPointerDefault);
}

TEST_F(Form30Test, GoButtonOpensThenUnloadsTheAboutWindow)
{
    Form30 &f = vx::instance<Form30>();
    f.Combo1.setText(QStringLiteral("Version Rondix"));
    f.Command1.click();
    ASSERT_TRUE(vx::isShown<frmAbout>());
    f.Command1.click();
    EXPECT_FALSE(vx::isLoaded<frmAbout>());
}

TEST_F(Form30Test, GoButtonShowsThenHidesTheFirstImageViewer)
{
    Form30 &f = vx::instance<Form30>();
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("Graphic Rondix"));
    f.Command1.click();
    ASSERT_TRUE(vx::isShown<Form2>());
    Form2 *viewer = &vx::instance<Form2>();
    f.Command1.click();
    EXPECT_TRUE(vx::isLoaded<Form2>()) << "hidden, not unloaded";
    EXPECT_FALSE(viewer->Visible());
    f.Command1.click();
    EXPECT_EQ(&vx::instance<Form2>(), viewer) << "shown again with its state";
    EXPECT_TRUE(viewer->Visible());
}

TEST_F(Form30Test, ButtonStyleOpensTheViewerOnlyForVariantOne)
{
    Form1 &f = vx::instance<Form1>();
    f.Command1.click();
    EXPECT_TRUE(vx::isShown<Form2>()) << "no stored variant means the first viewer";
    f.Picture1_Click();
    EXPECT_FALSE(vx::isShown<Form2>());
    suite::SaveSetting(QStringLiteral("Graphic Rondix2"), QStringLiteral("FormKind"), QStringLiteral("2"));
    f.Command1.click();
    EXPECT_FALSE(vx::isShown<Form2>()) << "variant 2 is the thumbnail browser";
}

TEST_F(Form30Test, DoubleClickOnTheGripSavesAndEnds)
{
    putHelpFile();
    Form30 &f = vx::instance<Form30>();
    f.Show();
    f.Move(1200, 900);
    f.mnuHelp.click();
    ASSERT_EQ(vxtest::shell().started.size(), 1);
    f.Combo1.setText(QStringLiteral("Snapvane"));
    EXPECT_TRUE(vxtest::ends([&] { f.Picture1_DblClick(); }));
    EXPECT_EQ(stored(QStringLiteral("FormLeft")), QStringLiteral("1200"));
    EXPECT_EQ(stored(QStringLiteral("FormTop")), QStringLiteral("900"));
    EXPECT_EQ(stored(QStringLiteral("ComboText")), QStringLiteral("Snapvane"));
    EXPECT_EQ(vxtest::shell().stopped.size(), 1u) << "help viewers are closed";

    // The next start shows what was stored.
    vx::FormRegistry::reset();
    vx::setEndThrows(true);
    Form30 &again = vx::instance<Form30>();
    EXPECT_EQ(again.Combo1.Text(), QStringLiteral("Snapvane"));
    EXPECT_EQ(again.Left(), 1200);
    EXPECT_EQ(again.Top(), 900);
}

TEST_F(Form30Test, MenuExitAndCloseBoxEndToo)
{
    Form30 &f = vx::instance<Form30>();
    f.Show();
    f.Combo1.setText(QStringLiteral("Probix"));
    EXPECT_TRUE(vxtest::ends([&] { f.mnuExit.click(); }));
    EXPECT_EQ(stored(QStringLiteral("ComboText")), QStringLiteral("Probix"));

    vx::setEndThrows(true);
    f.Combo1.setText(QStringLiteral("Scrivolt"));
    f.close();
    EXPECT_TRUE(vx::programEnded());
    EXPECT_EQ(stored(QStringLiteral("ComboText")), QStringLiteral("Scrivolt"));
}

TEST_F(Form30Test, ExitWithAStoreThatCannotBeWrittenStillEnds)
{
    Form30 &f = vx::instance<Form30>();
    QFile blocker(configDir() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", (configDir() + QStringLiteral("/blocker/sub")).toLocal8Bit());
    EXPECT_TRUE(vxtest::ends([&] { f.mnuExit_Click(); }));
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vx::vbExclamation);
}

TEST_F(Form30Test, RightButtonPopsTheMenuLeftButtonDrags)
{
    Form30 &f = vx::instance<Form30>();
    f.Show();
    f.Move(600, 300);
    vxtest::dialogs().popupScripts.push_back([](vx::Menu &menu) {
        menu.findChild<vx::Menu *>(QStringLiteral("mnuHelp"))->click();
    });
    f.Picture1_MouseDown(2, 0, 100, 100);
    EXPECT_EQ(vxtest::dialogs().popups, QStringList{QStringLiteral("Form30.mnuMain")});
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u) << "help without help.chm says so";
    EXPECT_EQ(f.Left(), 600);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    f.Picture1_MouseDown(1, 0, 100, 100);
    EXPECT_EQ(QWidget::mouseGrabber(), &f) << "the window follows the pointer";
    EXPECT_EQ(vxtest::dialogs().popups.size(), 1);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(45, 25), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&f, &release);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

} // namespace

namespace {
TEST_F(Form30Test, PositionNoScreenCanHoldFallsBackToTheDefault)
{
    suite::SaveSetting(kSection, QStringLiteral("FormLeft"), QStringLiteral("1e20"));
    suite::SaveSetting(kSection, QStringLiteral("FormTop"), QStringLiteral("-3e38"));
    Form30 &f = vx::instance<Form30>();
    EXPECT_EQ(f.Left(), 0);
    EXPECT_EQ(f.Top(), 0);
}
} // namespace
