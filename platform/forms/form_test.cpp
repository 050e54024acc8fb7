#include "platform/core/errors.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "testing/harness.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <stdexcept>

using namespace vx;

namespace {

int g_loads = 0;
int g_unloads = 0;

class Probe : public Form {
public:
    Probe() : Form(QStringLiteral("Probe")) { setClientSize(3000, 1500); }
    CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("OK")};
    ComboBox Combo1{this, QStringLiteral("Combo1")};
    int clicks = 0;
    bool cancelUnload = false;
    void Form_Load() override
    {
        ++g_loads;
        Combo1.AddItem(QStringLiteral("a"));
        Combo1.AddItem(QStringLiteral("b"));
        Combo1.Click = [this] { ++clicks; };
    }
    void Form_Unload(int &cancel) override
    {
        ++g_unloads;
        cancel = cancelUnload ? 1 : 0;
    }
};

class Other : public Form {
public:
    Other() : Form(QStringLiteral("Other")) {}
    // Loading touches Probe, which may touch Other again: the instance is
    // registered before its load runs.
    void Form_Load() override { seen = &instance<Other>(); instance<Probe>(); }
    Other *seen = nullptr;
};

class FormModel : public vxtest::GuiTest {};

TEST_F(FormModel, LoadsOnFirstTouchAndAfreshAfterUnload)
{
    g_loads = g_unloads = 0;
    EXPECT_FALSE(isLoaded<Probe>());
    Probe &p = instance<Probe>();
    EXPECT_EQ(g_loads, 1);
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(&instance<Probe>(), &p);
    EXPECT_EQ(g_loads, 1);
    p.Combo1.setListIndex(1);
    EXPECT_EQ(p.clicks, 1) << "setting the index from code runs the click handler at once";
    EXPECT_TRUE(p.Unload());
    EXPECT_EQ(g_unloads, 1);
    EXPECT_FALSE(isLoaded<Probe>());
    Probe &q = instance<Probe>();
    EXPECT_EQ(g_loads, 2);
    EXPECT_EQ(q.Combo1.ListIndex(), -1) << "a fresh instance starts from its layout";
}

TEST_F(FormModel, CancelledUnloadKeepsTheWindow)
{
    Probe &p = instance<Probe>();
    p.Show();
    p.cancelUnload = true;
    EXPECT_FALSE(p.Unload());
    EXPECT_TRUE(isLoaded<Probe>());
    EXPECT_TRUE(p.Visible());
    p.close();
    EXPECT_TRUE(isLoaded<Probe>()) << "the close box is cancelled the same way";
}

TEST_F(FormModel, CloseBoxUnloads)
{
    g_unloads = 0;
    Probe &p = instance<Probe>();
    p.Show();
    p.close();
    EXPECT_EQ(g_unloads, 1);
    EXPECT_FALSE(isLoaded<Probe>());
}

TEST_F(FormModel, ReentrantLoadSeesItsOwnInstance)
{
    Other &o = instance<Other>();
    EXPECT_EQ(o.seen, &o);
    EXPECT_TRUE(isLoaded<Probe>());
}

TEST_F(FormModel, TwipsAndColours)
{
    Probe &p = instance<Probe>();
    p.Move(1500, 3000);
    EXPECT_EQ(p.Left(), 1500);
    EXPECT_EQ(p.Top(), 3000);
    EXPECT_EQ(p.ScaleWidth(), 3000);
    EXPECT_EQ(p.ScaleHeight(), 1500);
    p.Command1.Move(150, 300, 1200, 375);
    EXPECT_EQ(p.Command1.Left(), 150);
    EXPECT_EQ(p.Command1.Width(), 1200);
    p.setBackColor(static_cast<qint32>(0x8000000A));
    EXPECT_EQ(p.BackColor(), -2147483638);
    p.Command1.setBackColor(rgb(255, 0, 0));
    EXPECT_EQ(p.Command1.palette().color(QPalette::Button), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x00FF0000), QColor(0, 0, 255)) << "0x00BBGGRR";
}

TEST_F(FormModel, ModalShowReturnsWhenHidden)
{
    bool ran = false;
    vxtest::dialogs().modalScripts.push_back([&](Form &f) {
        ran = true;
        EXPECT_TRUE(f.Visible());
        f.Hide();
    });
    instance<Probe>().Show(1);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(instance<Probe>().Visible());
    EXPECT_EQ(vxtest::dialogs().modals, QStringList{QStringLiteral("Probe")});
}

TEST_F(FormModel, EndStopsAtOnceWithoutClosingHandlers)
{
    g_unloads = 0;
    instance<Probe>().Show();
    EXPECT_TRUE(vxtest::ends([] { End(); }));
    EXPECT_TRUE(programEnded());
    instance<Probe>().close();
    EXPECT_EQ(g_unloads, 0);
}

TEST_F(FormModel, DropDownListRefusesUnknownText)
{
    Probe &p = instance<Probe>();
    try {
        p.Combo1.setText(QStringLiteral("zzz"));
        FAIL() << "no error";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), 383);
    }
    p.Combo1.setText(QStringLiteral("b"));
    EXPECT_EQ(p.Combo1.ListIndex(), 1);
    EXPECT_EQ(p.clicks, 1);
}

TEST_F(FormModel, ButtonClickErrorBecomesAMessage)
{
    Probe &p = instance<Probe>();
    p.Command1.Click = [] { vx::raise(err::FileNotFound); };
    p.Command1.click();
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].text, errorText(53));
}

} // namespace

namespace {

TEST_F(FormModel, WindowUnloadedUnderARunningHandlerLivesUntilItReturns)
{
    QPointer<Probe> p = &instance<Probe>();
    dispatch([&] {
        dispatch([&] { p->Unload(); }); // as a timer tick inside a message box's loop
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(p) << "the outer handler still runs in the window";
        EXPECT_FALSE(isLoaded<Probe>());
    });
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(p);
}

TEST_F(FormModel, AnyExceptionOfAHandlerBecomesAMessage)
{
    dispatch([] { throw std::out_of_range("index 7"); });
    dispatch([] { throw std::bad_alloc(); });
    ASSERT_EQ(vxtest::dialogs().messages.size(), 2u);
    EXPECT_TRUE(vxtest::dialogs().messages[0].text.contains(QStringLiteral("index 7")));
    EXPECT_EQ(vxtest::dialogs().messages[1].text, errorText(err::OutOfMemory));
    EXPECT_EQ(vxtest::dialogs().messages[1].icon(), vbCritical);
}

TEST_F(FormModel, ChangingWindowFlagsDoesNotEndAModalShow)
{
    Probe &p = instance<Probe>();
    int ended = 0;
    QObject::connect(&p, &Form::modalEnded, [&] { ++ended; });
    p.Show();
    p.setTopmost(true);
    p.setBorderless(true);
    EXPECT_TRUE(p.Visible());
    EXPECT_TRUE(p.Topmost());
    EXPECT_EQ(ended, 0);
    try {
        p.Show(1);
        FAIL() << "a shown window cannot become modal";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), 400);
    }
    p.Hide();
    EXPECT_EQ(ended, 1);
}

class MenuProbe : public Form {
public:
    MenuProbe() : Form(QStringLiteral("MenuProbe")) {}
    Menu mnuView{this, QStringLiteral("mnuView"), QStringLiteral("表示")};
    Menu mnuBar{&mnuView, QStringLiteral("mnuBar"), QStringLiteral("バー")};
    Label Label1{this, QStringLiteral("Label1"), QStringLiteral("x")};
    ComboBox Combo1{this, QStringLiteral("Combo1"), 0};
};

TEST_F(FormModel, MenuCheckMarkIsTheProgramsAndLabelDoubleClickIsOneClick)
{
    MenuProbe &m = instance<MenuProbe>();
    m.mnuBar.Click = [&] { m.mnuBar.setChecked(!m.mnuBar.Checked()); };
    m.mnuBar.setChecked(true);
    m.mnuBar.action()->trigger();
    EXPECT_FALSE(m.mnuBar.Checked());
    EXPECT_FALSE(m.mnuBar.action()->isChecked());
    m.mnuBar.action()->trigger();
    EXPECT_TRUE(m.mnuBar.action()->isChecked());

    int clicks = 0, doubles = 0;
    m.Label1.Click = [&] { ++clicks; };
    m.Label1.DblClick = [&] { ++doubles; };
    const QPointF at(2, 2);
    auto send = [&](QEvent::Type t) {
        QMouseEvent e(t, at, m.Label1.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&m.Label1, &e);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
}

class PopupOnly : public Form {
public:
    PopupOnly() : Form(QStringLiteral("PopupOnly")) { setClientSize(3000, 300); }
    Menu mnuMain{this, QStringLiteral("mnuMain"), QStringLiteral("メイン"), false};
    Menu mnuHelp{&mnuMain, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ")};
    Menu mnuLine{&mnuMain, QStringLiteral("mnuLine"), QStringLiteral("-")};
    Menu mnuExit{&mnuMain, QStringLiteral("mnuExit"), QStringLiteral("終了")};
};

// What a window does not show is not built: a window whose menus only pop up
// has no menu bar, and its pop-up is built when it first pops up, whole and
// in order. A menu shown later brings the bar with its drop-downs.
TEST_F(FormModel, MenusAreBuiltWhenFirstShown)
{
    PopupOnly &w = instance<PopupOnly>();
    EXPECT_EQ(w.findChildren<QMenuBar *>().size(), 0);
    EXPECT_EQ(w.mnuMain.action()->menu(), nullptr);
    EXPECT_EQ(w.ScaleHeight(), 300);
    QMenu *popup = w.mnuMain.subMenu();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->actions().size(), 3);
    EXPECT_EQ(popup->actions().at(0)->text(), QStringLiteral("ヘルプ"));
    EXPECT_TRUE(popup->actions().at(1)->isSeparator());
    EXPECT_EQ(popup->actions().at(1)->text(), QString()) << "a separator shows no text beside it";
    EXPECT_EQ(w.mnuLine.Caption(), QStringLiteral("-"));
    int exits = 0;
    w.mnuExit.Click = [&] { ++exits; };
    popup->actions().at(2)->trigger();
    EXPECT_EQ(exits, 1);

    w.mnuMain.setVisible(true);
    ASSERT_NE(w.menuBar(), nullptr);
    EXPECT_FALSE(w.menuBar()->isHidden());
    EXPECT_EQ(w.menuBar()->actions().at(0)->menu(), popup);
    EXPECT_EQ(w.ScaleHeight(), 300) << "the client area keeps its size below the bar";

    MenuProbe &m = instance<MenuProbe>();
    ASSERT_NE(m.menuBar(), nullptr);
    ASSERT_NE(m.mnuView.action()->menu(), nullptr) << "a drop-down of a shown bar";
    EXPECT_EQ(m.mnuView.action()->menu()->actions().at(0), m.mnuBar.action());
}

TEST_F(FormModel, EditableComboKeepsItsListAndFiresChangeOnlyForNewText)
{
    MenuProbe &m = instance<MenuProbe>();
    m.Combo1.AddItem(QStringLiteral("a"));
    int changes = 0;
    m.Combo1.Change = [&] { ++changes; };
    m.Combo1.setText(QStringLiteral("typed"));
    m.Combo1.setText(QStringLiteral("typed"));
    EXPECT_EQ(changes, 1);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(m.Combo1.lineEdit(), &enter);
    EXPECT_EQ(m.Combo1.ListCount(), 1) << "Enter does not add the typed text";
}

} // namespace

namespace {

class Inner : public Form {
public:
    Inner() : Form(QStringLiteral("Inner")) {}
};

class LoadsModal : public Form {
public:
    LoadsModal() : Form(QStringLiteral("LoadsModal")) {}
    void Form_Load() override { instance<Inner>().Show(1); }
};

TEST_F(FormModel, RealModalShowsNestAndMayStartInsideALoad)
{
    setDialogDriver(makeRealDialogDriver());
    QStringList order;
    // The outer window opens a nested modal one; each returns when hidden.
    QTimer::singleShot(20, [&] {
        QTimer::singleShot(20, [&] {
            order << QStringLiteral("hide inner");
            instance<Inner>().Hide();
        });
        instance<Inner>().Show(1);
        order << QStringLiteral("inner returned");
        QTimer::singleShot(20, [&] {
            order << QStringLiteral("hide outer");
            instance<Probe>().Hide();
        });
    });
    instance<Probe>().Show(1);
    order << QStringLiteral("outer returned");
    EXPECT_EQ(order, (QStringList{QStringLiteral("hide inner"), QStringLiteral("inner returned"),
                                  QStringLiteral("hide outer"), QStringLiteral("outer returned")}));

    // A load that shows a modal window: the load returns once it is unloaded.
    QTimer::singleShot(20, [] { instance<Inner>().Unload(); });
    LoadsModal &l = instance<LoadsModal>();
    EXPECT_FALSE(isLoaded<Inner>());
    EXPECT_TRUE(isLoaded<LoadsModal>());
    EXPECT_FALSE(l.Visible());
}

} // namespace
