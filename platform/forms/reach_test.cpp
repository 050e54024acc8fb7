#include "platform/forms/form.h"
#include "platform/forms/reach.h"
#include "testing/harness.h"

#include <QGuiApplication>
#include <QScreen>

using vx::reachablePosition;

namespace {

// A 1280 x 800 laptop screen beside which a second one, 1920 x 1080, stood.
const std::vector<QRect> kLaptop{QRect(0, 0, 1280, 800)};
const std::vector<QRect> kTwo{QRect(0, 0, 1280, 800), QRect(1280, -280, 1920, 1080)};

TEST(Reach, AFrameOutOfReachGoesFullyOntoTheNearestScreen)
{
    struct Row {
        const char *what;
        QRect frame;
        std::vector<QRect> areas;
        QPoint expected;
    };
    const Row rows[] = {
        {"on the screen: as it is", {24, 40, 300, 200}, kLaptop, {24, 40}},
        {"stored on a larger screen", {1600, 1000, 300, 22}, kLaptop, {980, 778}},
        {"bar above the screen", {24, -40, 600, 22}, kLaptop, {24, 0}},
        {"bar mostly above: 2 pixels to hold", {24, -20, 600, 22}, kLaptop, {24, 0}},
        {"bar partly above: 8 pixels to hold", {24, -14, 600, 22}, kLaptop, {24, -14}},
        {"title bar above, body on the screen", {100, -30, 400, 500}, kLaptop, {100, 0}},
        {"title bar on, body below the screen", {100, 780, 400, 500}, kLaptop, {100, 780}},
        {"a corner of 31 pixels is too little", {-269, 100, 300, 200}, kLaptop, {0, 100}},
        {"a corner of 32 pixels is enough", {-268, 100, 300, 200}, kLaptop, {-268, 100}},
        {"left of the screen", {-5000, 300, 300, 200}, kLaptop, {0, 300}},
        {"larger than the screen", {-2000, -2000, 1500, 900}, kLaptop, {0, 0}},
        {"on the second screen: as it is", {2000, -200, 300, 200}, kTwo, {2000, -200}},
        {"beyond the second screen: onto it", {3500, 900, 300, 200}, kTwo, {2900, 600}},
        {"above both: onto the nearer", {1400, -900, 300, 200}, kTwo, {1400, -280}},
        {"no screen known: as it is", {-5000, -5000, 300, 200}, {}, {-5000, -5000}},
        {"stored far beyond any", {1000000000, 1000000000, 300, 200}, kLaptop, {980, 600}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(reachablePosition(r.frame, r.areas), r.expected) << r.what;
}

class Plain : public vx::Form {
public:
    Plain() : vx::Form(QStringLiteral("Plain")) { setClientSize(4500, 3000); }
};

class ReachTest : public vxtest::GuiTest {
protected:
    void TearDown() override
    {
        vx::setScreenAreas({});
        GuiTest::TearDown();
    }
    // Top-left of the frame as shown.
    static QPoint shownAt(const vx::Form &f) { return f.frameGeometry().topLeft(); }
    static bool onScreen(const vx::Form &f)
    {
        return vx::withinReach(QRect(f.pos(), f.frameGeometry().size()), vx::screenAreas());
    }
};

TEST_F(ReachTest, WindowShownOutOfReachKeepsItsStoredPositionUntilMoved)
{
    vx::setScreenAreas(kLaptop);
    Plain &f = vx::instance<Plain>();
    f.Move(24000, 15000);
    EXPECT_EQ(f.pos(), QPoint(1600, 1000)) << "hidden, it stays where it was put";
    f.Show();
    EXPECT_TRUE(onScreen(f));
    EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(f.frameGeometry())) << "fully on the screen";
    EXPECT_EQ(f.Left(), 24000) << "what a save writes stays as stored";
    EXPECT_EQ(f.Top(), 15000);
    f.Hide();
    f.Show();
    EXPECT_EQ(f.Left(), 24000) << "shown again where it was placed";

    f.setTop(-600);
    EXPECT_EQ(f.Left(), 24000);
    EXPECT_EQ(f.Top(), -600);
    EXPECT_TRUE(onScreen(f)) << "moved from code while shown";

    // The user moves it: that is its place now.
    f.move(100, 50);
    EXPECT_EQ(f.Left(), 1500);
    EXPECT_EQ(f.Top(), 750);

    f.Move(3000, 1500);
    EXPECT_EQ(f.pos(), QPoint(200, 100)) << "within reach: exactly as asked";
    EXPECT_EQ(f.Left(), 3000);
}

// The offscreen platform's own screen, no stand-in.
TEST_F(ReachTest, TheRealScreensAreAsked)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_FALSE(area.isEmpty());
    Plain &f = vx::instance<Plain>();
    f.Move(vx::toTwips(area.right() + 2000), -600);
    f.Show();
    EXPECT_TRUE(area.contains(QRect(f.pos(), f.frameGeometry().size())));
    EXPECT_EQ(f.Top(), -600);
}

} // namespace
