#include "updown.h"

#include "controls.h"
#include "styledprogressbar.h"
#include "testing/harness.h"

#include <QImage>
#include <QToolButton>

using namespace vx;

namespace {

class UpDownTest : public vxtest::GuiTest {};

struct Host : Form {
    Host() : Form(QStringLiteral("Host")) { Text1.Move(300, 300, 735, 285); }
    TextBox Text1{this, QStringLiteral("Text1")};
};

TEST_F(UpDownTest, SitsInsideTheBuddysRightEdgeAndWritesItsPosition)
{
    Host &h = instance<Host>();
    QStringList changes;
    h.Text1.Change = [&] { changes << h.Text1.Text(); };
    QPointer<UpDown> ud = CreateUpDownControl(h, 101, h.Text1, 6553, 0, 3276);
    ASSERT_TRUE(ud);
    EXPECT_EQ(h.Text1.Width(), 735 - kUpDownWidthTwips) << "the buddy is narrowed";
    EXPECT_EQ(ud->Left(), h.Text1.Left() + h.Text1.Width());
    EXPECT_EQ(ud->Height(), h.Text1.Height());
    EXPECT_EQ(h.Text1.Text(), QStringLiteral("3,276"));
    EXPECT_EQ(changes, QStringList{QStringLiteral("3,276")}) << "the buddy's change runs";
    EXPECT_EQ(ud->objectName(), QStringLiteral("UpDown101"));

    ud->findChildren<QToolButton *>().first()->click();
    EXPECT_EQ(h.Text1.Text(), QStringLiteral("3,277"));
    h.Text1.setText(QStringLiteral("6552"));
    ud->step(1);
    ud->step(1);
    EXPECT_EQ(h.Text1.Text(), QStringLiteral("6,553")) << "stops at the top";
    h.Text1.setText(QStringLiteral("letters"));
    ud->step(-1);
    EXPECT_EQ(h.Text1.Text(), QStringLiteral("6,552")) << "from its own position when the box holds no number";

    DestroyWindow(ud);
    EXPECT_FALSE(ud);
    EXPECT_EQ(h.Text1.Width(), 735 - kUpDownWidthTwips) << "the buddy keeps its width";
}

TEST_F(UpDownTest, ThousandsSeparatorsAndAnEmptyRange)
{
    EXPECT_EQ(UpDown::buddyText(0), QStringLiteral("0"));
    EXPECT_EQ(UpDown::buddyText(999), QStringLiteral("999"));
    EXPECT_EQ(UpDown::buddyText(1000), QStringLiteral("1,000"));
    EXPECT_EQ(UpDown::buddyText(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(UpDown::buddyText(-4096), QStringLiteral("-4,096"));
    Host &h = instance<Host>();
    QPointer<UpDown> ud = CreateUpDownControl(h, 101, h.Text1, 0, 0, 0);
    ud->step(1);
    EXPECT_EQ(h.Text1.Text(), QStringLiteral("0"));
    DestroyWindow(ud);
}

TEST_F(UpDownTest, ProgressBarDrawsBlocksOrOneBarInItsColours)
{
    Host &h = instance<Host>();
    StyledProgressBar bar(&h, QStringLiteral("ProgressBar1"));
    bar.resize(200, 20);
    bar.setMax(100);
    bar.setValue(50);
    bar.setBarColor(rgb(0, 255, 0));
    bar.setBarBackColor(0);
    auto row = [&bar] {
        const QImage img = bar.grab().toImage();
        QString r;
        for (int x = 3; x < 100; ++x)
            r += img.pixelColor(x, 10) == QColor(0, 255, 0) ? QLatin1Char('#') : QLatin1Char('.');
        return r;
    };
    bar.setScrolling(1);
    EXPECT_FALSE(row().contains(QLatin1Char('.'))) << row().toStdString();
    bar.setScrolling(0);
    EXPECT_TRUE(row().contains(QLatin1String("#.."))) << "gaps between blocks: " << row().toStdString();
    EXPECT_EQ(bar.grab().toImage().pixelColor(150, 10), QColor(0, 0, 0)) << "black beyond the value";
}

} // namespace
