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
        vx::EntryBatch batch;
        for (int i = 0; i < 5000; ++i)
            batch.add("/tmp/folder/file", QByteArray::number(b * 5000 + i));
        h.List.AddItems(std::move(batch));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(h.List.ListCount(), 500000);
    // A bound that only quadratic insertion breaks, sanitizers and a busy machine included.
    EXPECT_LT(t.elapsed(), 60000);
    EXPECT_EQ(h.List.List(499999), QStringLiteral("/tmp/folder/file499999"));
    EXPECT_EQ(h.List.List(5000), QStringLiteral("/tmp/folder/file5000"));
    EXPECT_EQ(h.List.List(4999), QStringLiteral("/tmp/folder/file4999"));
    h.List.AddItem(QStringLiteral("日本語.txt")); // one entry of its own, in UTF-8
    EXPECT_EQ(h.List.List(500000), QStringLiteral("日本語.txt"));
    EXPECT_EQ(h.List.ListIndex(), -1);
    h.List.setListIndex(7);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(h.List.ListIndex(), 7);
    h.List.setListIndex(7);
    EXPECT_EQ(clicks, 1);
    EXPECT_THROW(h.List.setListIndex(500001), vx::RuntimeError);
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

TEST(EntryBatch, PackedEntriesJoinWithTheirEnds)
{
    vx::EntryBatch a;
    a.add("/usr/", "a");
    a.add("/usr/bin/", "ツール");
    vx::EntryBatch b;
    b.add("/x");
    a.take(std::move(b));
    EXPECT_TRUE(b.empty());
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a.entry(0), QStringLiteral("/usr/a"));
    EXPECT_EQ(a.entry(1), QStringLiteral("/usr/bin/ツール"));
    EXPECT_EQ(a.entry(2), QStringLiteral("/x"));
    vx::EntryBatch c;
    c.take(std::move(a));
    EXPECT_EQ(c.size(), 3);
    EXPECT_EQ(c.bytes(2), QByteArrayView("/x"));
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
