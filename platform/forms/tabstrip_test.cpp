#include "platform/core/errors.h"
#include "platform/forms/label.h"
#include "platform/forms/tabstrip.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

class TabStripTest : public vxtest::GuiTest {};

class Holder : public vx::Form {
public:
    Holder() : vx::Form(QStringLiteral("Holder")) {}
    vx::TabControl Tabs{this, QStringLiteral("Tabs"), {QStringLiteral("一"), QStringLiteral("二")}};
    vx::Label OnPage{this, QStringLiteral("OnPage"), QStringLiteral("x"), Tabs.page(1)};
};

TEST_F(TabStripTest, TabsChangeFromCodeAndKeyboard)
{
    Holder &h = vx::instance<Holder>();
    h.Show();
    std::vector<int> previous;
    h.Tabs.Click = [&](int p) { previous.push_back(p); };
    EXPECT_EQ(h.Tabs.Tabs(), 2);
    EXPECT_EQ(h.OnPage.parentWidget(), h.Tabs.page(1));
    EXPECT_FALSE(h.OnPage.isVisible()); // on the page not shown
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
