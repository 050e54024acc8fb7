// Assistive technology changes a control through Qt's accessibility
// interfaces, as a screen reader does over AT-SPI. Each change must run the
// same handler, once, as the mouse or the keyboard would.
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "platform/forms/scrollbar.h"
#include "testing/harness.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

using namespace vx;

namespace {

class Panel : public Form {
public:
    Panel() : Form(QStringLiteral("Panel")) { setClientSize(9000, 6000); }
    CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("OK")};
    CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("check")};
    OptionButton Option1{this, QStringLiteral("Option1"), QStringLiteral("one")};
    OptionButton Option2{this, QStringLiteral("Option2"), QStringLiteral("two")};
    ComboBox Combo1{this, QStringLiteral("Combo1"), 2};
    ComboBox Combo2{this, QStringLiteral("Combo2"), 0};
    TextBox Text1{this, QStringLiteral("Text1")};
    ScrollBar HScroll1{this, QStringLiteral("HScroll1"), Qt::Horizontal};
    ListBox List1{this, QStringLiteral("List1")};
    Menu mnuFile{this, QStringLiteral("mnuFile"), QStringLiteral("ファイル")};
    Menu mnuOpen{&mnuFile, QStringLiteral("mnuOpen"), QStringLiteral("開く")};
};

QAccessibleInterface *a11y(QObject *o)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(o);
    EXPECT_NE(i, nullptr) << o->objectName().toStdString();
    return i;
}

// Runs an accessible action by name and waits until what it does has
// arrived (a pressed button reports its click after a short animation).
void act(QObject *o, const QString &action, const std::function<bool()> &arrived)
{
    QAccessibleInterface *i = a11y(o);
    ASSERT_NE(i, nullptr);
    QAccessibleActionInterface *ai = i->actionInterface();
    ASSERT_NE(ai, nullptr) << o->objectName().toStdString();
    ASSERT_TRUE(ai->actionNames().contains(action))
        << o->objectName().toStdString() << ": " << ai->actionNames().join(QLatin1Char(',')).toStdString();
    ai->doAction(action);
    EXPECT_TRUE(vxtest::waitUntil(arrived)) << o->objectName().toStdString();
}

class Accessibility : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        QAccessible::setActive(true);
    }
};

} // namespace

TEST_F(Accessibility, ButtonsChecksAndOptionsRunClickOncePerChange)
{
    Panel &p = instance<Panel>();
    p.Show();
    int button = 0, check = 0, one = 0, two = 0;
    p.Command1.Click = [&] { ++button; };
    p.Check1.Click = [&] { ++check; };
    p.Option1.Click = [&] { ++one; };
    p.Option2.Click = [&] { ++two; };

    act(&p.Command1, QAccessibleActionInterface::pressAction(), [&] { return button > 0; });
    EXPECT_EQ(button, 1);

    act(&p.Check1, QAccessibleActionInterface::toggleAction(), [&] { return check > 0; });
    EXPECT_EQ(p.Check1.Value(), 1);
    EXPECT_EQ(check, 1);
    act(&p.Check1, QAccessibleActionInterface::toggleAction(), [&] { return check > 1; });
    EXPECT_EQ(p.Check1.Value(), 0);
    EXPECT_EQ(check, 2);

    act(&p.Option1, QAccessibleActionInterface::toggleAction(), [&] { return one > 0; });
    EXPECT_TRUE(p.Option1.Value());
    EXPECT_EQ(one, 1);
    act(&p.Option2, QAccessibleActionInterface::toggleAction(), [&] { return two > 0; });
    EXPECT_TRUE(p.Option2.Value());
    EXPECT_FALSE(p.Option1.Value());
    EXPECT_EQ(two, 1);
    EXPECT_EQ(one, 1) << "the option turned off runs no Click";

    // The mouse still clicks once, and a value set from code runs Click before
    // the next statement, once.
    QTest::mouseClick(&p.Check1, Qt::LeftButton);
    EXPECT_EQ(check, 3);
    QTest::mouseClick(&p.Option1, Qt::LeftButton);
    EXPECT_EQ(one, 2);
    EXPECT_EQ(two, 1);
    p.Check1.setValue(0);
    EXPECT_EQ(check, 4);
    p.Option2.setValue(true);
    EXPECT_EQ(two, 2);
    EXPECT_EQ(one, 2);
    // The keyboard: space toggles the focused check box.
    p.Check1.setFocus();
    QTest::keyClick(&p.Check1, Qt::Key_Space);
    EXPECT_EQ(p.Check1.Value(), 1);
    EXPECT_EQ(check, 5);
}

TEST_F(Accessibility, TextBoxesAndTypedComboTextRunChange)
{
    Panel &p = instance<Panel>();
    p.Show();
    int text = 0, typed = 0, chosen = 0;
    p.Text1.Change = [&] { ++text; };
    p.Combo2.Change = [&] { ++typed; };
    p.Combo2.Click = [&] { ++chosen; };
    p.Combo2.AddItem(QStringLiteral("alpha"));
    p.Combo2.AddItem(QStringLiteral("beta"));

    QAccessibleInterface *edit = a11y(p.Text1.editor());
    ASSERT_NE(edit, nullptr);
    edit->setText(QAccessible::Value, QStringLiteral("読み上げ"));
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("読み上げ"));
    EXPECT_EQ(text, 1);
    ASSERT_NE(edit->editableTextInterface(), nullptr);
    edit->editableTextInterface()->insertText(0, QStringLiteral("x"));
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("x読み上げ"));
    EXPECT_EQ(text, 2);

    QAccessibleInterface *comboEdit = a11y(p.Combo2.lineEdit());
    ASSERT_NE(comboEdit, nullptr);
    comboEdit->setText(QAccessible::Value, QStringLiteral("gamma"));
    EXPECT_EQ(p.Combo2.Text(), QStringLiteral("gamma"));
    EXPECT_EQ(typed, 1);
    EXPECT_EQ(chosen, 0);
    // Choosing an item is a click, not typing.
    p.Combo2.setFocus();
    QTest::keyClick(p.Combo2.lineEdit(), Qt::Key_Down);
    EXPECT_EQ(typed, 1);
}

TEST_F(Accessibility, ComboListsOpenThroughTheirActionAndChooseWithKeys)
{
    Panel &p = instance<Panel>();
    p.Show();
    int chosen = 0;
    p.Combo1.AddItem(QStringLiteral("a"));
    p.Combo1.AddItem(QStringLiteral("b"));
    p.Combo1.Click = [&] { ++chosen; };
    // Qt's combo box has no accessible way to choose an item: the tool opens
    // its list through the "show menu" action and the keys choose.
    QAbstractItemView *view = p.Combo1.view();
    act(&p.Combo1, QAccessibleActionInterface::showMenuAction(), [&] { return view->isVisible(); });
    ASSERT_TRUE(view->isVisible());
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(p.Combo1.ListIndex(), 1);
    EXPECT_EQ(chosen, 1);
}

TEST_F(Accessibility, ListsAndScrollBarsFollowTheirValueAndSelection)
{
    Panel &p = instance<Panel>();
    p.Show();
    int list = 0, change = 0;
    p.List1.Click = [&] { ++list; };
    p.HScroll1.Change = [&] { ++change; };
    p.List1.AddItem(QStringLiteral("a"));
    p.List1.AddItem(QStringLiteral("b"));
    p.HScroll1.setMax(100);

    QAccessibleInterface *bar = a11y(&p.HScroll1);
    ASSERT_NE(bar->valueInterface(), nullptr);
    bar->valueInterface()->setCurrentValue(40);
    EXPECT_EQ(p.HScroll1.Value(), 40);
    EXPECT_EQ(change, 1);

    QAccessibleInterface *lst = a11y(&p.List1);
    ASSERT_NE(lst, nullptr);
    ASSERT_NE(lst->tableInterface(), nullptr);
    QAccessibleInterface *cell = lst->tableInterface()->cellAt(1, 0);
    ASSERT_NE(cell, nullptr);
    ASSERT_NE(cell->tableCellInterface(), nullptr);
    ASSERT_TRUE(cell->tableCellInterface()->table() != nullptr);
    lst->tableInterface()->selectRow(1);
    EXPECT_EQ(p.List1.ListIndex(), 1);
    EXPECT_EQ(list, 1);
}

TEST_F(Accessibility, LabelsWithHandlersTakeTheKeyboardAndActions)
{
    Panel &p = instance<Panel>();
    Label Label1{&p, QStringLiteral("Label1"), QStringLiteral("ボリューム")};
    Label Label2{&p, QStringLiteral("Label2"), QStringLiteral("plain")};
    int clicks = 0, doubles = 0;
    Label1.Click = [&] { ++clicks; };
    Label1.DblClick = [&] { ++doubles; };
    p.Show();
    EXPECT_EQ(Label1.focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(Label2.focusPolicy(), Qt::NoFocus) << "a label without handlers is passed over";

    Label1.setFocus();
    QTest::keyClick(&Label1, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(&Label1, Qt::Key_Return);
    EXPECT_EQ(doubles, 1);

    QAccessibleInterface *a = a11y(&Label1);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("ボリューム"));
    ASSERT_NE(a->actionInterface(), nullptr);
    EXPECT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()))
        << a->actionInterface()->actionNames().join(QLatin1Char(',')).toStdString();
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 2);
    a->actionInterface()->doAction(QStringLiteral("doubleClick"));
    EXPECT_EQ(doubles, 2);
    EXPECT_FALSE(a11y(&Label2)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

// A label showing a value is read as the value, even when a window gave it a
// name; what it is stays reachable as its description.
TEST_F(Accessibility, LabelsAreReadAsWhatTheyShow)
{
    Panel &p = instance<Panel>();
    Label Label1{&p, QStringLiteral("Label1")};
    Frame Frame1{&p, QStringLiteral("Frame1"), QStringLiteral("枠")};
    Label Label2{&p, QStringLiteral("Label2"), QString(), &Frame1};
    Label1.setAccessibleName(QStringLiteral("位置"));
    Label1.setAccessibleDescription(QStringLiteral("位置"));
    p.Show();
    Label1.setCaption(QStringLiteral("3/12"));
    Label2.setCaption(QStringLiteral("再生中"));
    EXPECT_EQ(a11y(&Label1)->text(QAccessible::Name), QStringLiteral("3/12"));
    EXPECT_EQ(a11y(&Label1)->text(QAccessible::Description), QStringLiteral("位置"));
    EXPECT_EQ(a11y(&Label2)->text(QAccessible::Name), QStringLiteral("再生中")) << "not the frame's caption";
    Label1.setCaption(QString());
    EXPECT_EQ(a11y(&Label1)->text(QAccessible::Name), QStringLiteral("位置")) << "nothing shown: the name";
}

TEST_F(Accessibility, DriveFolderFileListsAndMenusAnswerToo)
{
    QTemporaryDir tmp;
    QDir(tmp.path()).mkdir(QStringLiteral("sub"));
    QFile(tmp.path() + QStringLiteral("/a.txt")).open(QIODevice::WriteOnly);
    QFile(tmp.path() + QStringLiteral("/b.txt")).open(QIODevice::WriteOnly);

    Panel &p = instance<Panel>();
    FileListBox File1{&p, QStringLiteral("File1")};
    DirListBox Dir1{&p, QStringLiteral("Dir1")};
    p.Show();
    File1.setPath(tmp.path());
    Dir1.setPath(tmp.path());
    int files = 0, dirs = 0, menus = 0;
    File1.Click = [&] { ++files; };
    Dir1.Change = [&] { ++dirs; };
    p.mnuOpen.Click = [&] { ++menus; };

    QAccessibleInterface *fl = a11y(&File1);
    ASSERT_NE(fl->tableInterface(), nullptr);
    fl->tableInterface()->selectRow(1);
    EXPECT_EQ(File1.ListIndex(), 1);
    EXPECT_EQ(files, 1);

    // Menu entries are children of their drop-down's accessible interface.
    QAccessibleInterface *drop = a11y(p.mnuFile.subMenu());
    ASSERT_NE(drop, nullptr);
    QAccessibleInterface *entry = nullptr;
    for (int i = 0; i < drop->childCount(); ++i)
        if (drop->child(i)->text(QAccessible::Name).contains(QStringLiteral("開く")))
            entry = drop->child(i);
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(entry->actionInterface(), nullptr);
    entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    vxtest::waitUntil([&] { return menus > 0; });
    EXPECT_EQ(menus, 1);

    // A folder is opened by selecting it and pressing Enter: the table cells
    // have no action of their own to open it.
    QAccessibleInterface *dl = a11y(&Dir1);
    ASSERT_NE(dl->tableInterface(), nullptr);
    const int subRow = Dir1.count() - 1;
    dl->tableInterface()->selectRow(subRow);
    QTest::keyClick(&Dir1, Qt::Key_Return);
    EXPECT_EQ(Dir1.Path(), tmp.path() + QStringLiteral("/sub"));
    EXPECT_EQ(dirs, 1);
}
