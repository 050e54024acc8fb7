#include "platform/forms/listbox.h"
#include "platform/forms/tabstrip.h"
#include "testing/harness.h"

#include "platform/core/errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

class ListTabTest : public vxtest::GuiTest {};

class Holder : public vx::Form {
public:
    Holder() : vx::Form(QStringLiteral("Holder")) {}
    vx::TabControl Tabs{this, QStringLiteral("Tabs"), {QStringLiteral("一"), QStringLiteral("二")}};
    vx::ListBox List{this, QStringLiteral("List"), Tabs.page(1)};
};

TEST_F(ListTabTest, ListTakesHalfAMillionEntriesInBatchesAndClicksOnIndex)
{
    Holder &h = vx::instance<Holder>();
    h.List.setGeometry(0, 0, 200, 100);
    h.Show();
    int clicks = 0;
    h.List.Click = [&] { ++clicks; };
    QElapsedTimer t;
    t.start();
    for (int b = 0; b < 100; ++b) {
        QStringList batch;
        for (int i = 0; i < 5000; ++i)
            batch << QStringLiteral("/tmp/folder/file%1").arg(b * 5000 + i);
        h.List.AddItems(std::move(batch));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(h.List.ListCount(), 500000);
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(h.List.List(499999), QStringLiteral("/tmp/folder/file499999"));
    EXPECT_EQ(h.List.ListIndex(), -1);
    h.List.setListIndex(7);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(h.List.ListIndex(), 7);
    h.List.setListIndex(7);
    EXPECT_EQ(clicks, 1);
    EXPECT_THROW(h.List.setListIndex(500000), vx::RuntimeError);
    EXPECT_THROW(h.List.List(-1), vx::RuntimeError);
    h.List.Clear();
    EXPECT_EQ(h.List.ListCount(), 0);
    EXPECT_EQ(h.List.ListIndex(), -1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ListTabTest, HorizontalExtentScrollsLongEntries)
{
    Holder &h = vx::instance<Holder>();
    h.List.setGeometry(0, 0, 200, 100);
    h.Show();
    h.Tabs.setTab(1);
    h.List.AddItem(QStringLiteral("short"));
    QCoreApplication::processEvents();
    EXPECT_EQ(h.List.horizontalScrollBar()->maximum(), 0);
    h.List.setHorizontalExtent(400);
    QCoreApplication::processEvents();
    EXPECT_GT(h.List.horizontalScrollBar()->maximum(), 150);
}

TEST_F(ListTabTest, TabsChangeFromCodeAndKeyboard)
{
    Holder &h = vx::instance<Holder>();
    h.Show();
    std::vector<int> previous;
    h.Tabs.Click = [&](int p) { previous.push_back(p); };
    EXPECT_EQ(h.Tabs.Tabs(), 2);
    EXPECT_EQ(h.Tabs.TabCaption(1), QStringLiteral("二"));
    h.Tabs.setTab(1);
    EXPECT_EQ(h.Tabs.Tab(), 1);
    EXPECT_THROW(h.Tabs.setTab(2), vx::RuntimeError);
    h.Tabs.setMousePointer(99);
    EXPECT_EQ(h.Tabs.MousePointer(), 99);
    // Ctrl+Tab moves on as a click does.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier);
    QCoreApplication::sendEvent(&h.Tabs, &key);
    EXPECT_EQ(h.Tabs.Tab(), 0);
    EXPECT_EQ(previous, (std::vector<int>{0, 1}));
}

} // namespace
