#include "platform/forms/virtuallist.h"
#include "testing/harness.h"

#include "platform/core/errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

class VirtualListTest : public vxtest::GuiTest {};

class Holder : public vx::Form {
public:
    Holder() : vx::Form(QStringLiteral("Holder")) {}
    vx::VirtualListBox List{this, QStringLiteral("List")};
};

TEST_F(VirtualListTest, ListTakesHalfAMillionEntriesInBatchesAndClicksOnIndex)
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
    EXPECT_EQ(h.List.List(-1), QString());
    // Selected the way assistive tools select: a click too.
    h.List.selectionModel()->select(h.List.model()->index(3, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(h.List.ListIndex(), 3);
    EXPECT_EQ(clicks, 2);
    h.List.Clear();
    EXPECT_EQ(h.List.ListCount(), 0);
    EXPECT_EQ(h.List.ListIndex(), -1);
    EXPECT_EQ(clicks, 2);
}

TEST_F(VirtualListTest, HorizontalExtentScrollsLongEntries)
{
    Holder &h = vx::instance<Holder>();
    h.List.setGeometry(0, 0, 200, 100);
    h.Show();
    h.List.AddItem(QStringLiteral("short"));
    QCoreApplication::processEvents();
    EXPECT_EQ(h.List.horizontalScrollBar()->maximum(), 0);
    h.List.setHorizontalExtent(400);
    QCoreApplication::processEvents();
    EXPECT_GT(h.List.horizontalScrollBar()->maximum(), 150);
}

} // namespace
