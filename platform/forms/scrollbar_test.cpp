#include "platform/core/errors.h"
#include "platform/forms/scrollbar.h"
#include "testing/harness.h"

using namespace vx;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) {}
    ScrollBar HScroll1{this, QStringLiteral("HScroll1")};
};

class ScrollBarTest : public vxtest::GuiTest {};

TEST_F(ScrollBarTest, ValueFromCodeRunsChangeOnlyWhenItDiffers)
{
    Host h;
    h.HScroll1.setMin(100);
    h.HScroll1.setMax(10000);
    int changes = 0;
    h.HScroll1.Change = [&] { ++changes; };
    h.HScroll1.setValue(5000);
    EXPECT_EQ(h.HScroll1.Value(), 5000);
    EXPECT_EQ(changes, 1);
    h.HScroll1.setValue(5000);
    EXPECT_EQ(changes, 1);
    for (int bad : {99, 10001}) {
        try {
            h.HScroll1.setValue(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), err::InvalidProperty);
        }
    }
    EXPECT_EQ(h.HScroll1.Value(), 5000);
    EXPECT_EQ(changes, 1);
}

TEST_F(ScrollBarTest, UserMovesRunChangeAndDraggingRunsScroll)
{
    Host h;
    h.HScroll1.setMax(100);
    h.HScroll1.setSmallChange(5);
    int changes = 0, scrolls = 0;
    h.HScroll1.Change = [&] { ++changes; };
    h.HScroll1.Scroll = [&] { ++scrolls; };
    h.HScroll1.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h.HScroll1.Value(), 5);
    EXPECT_EQ(changes, 1);

    h.HScroll1.setSliderDown(true);
    h.HScroll1.setSliderPosition(40);
    h.HScroll1.setSliderPosition(60);
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(changes, 1) << "the value settles when the thumb is let go";
    h.HScroll1.setSliderDown(false);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(h.HScroll1.Value(), 60);
}

} // namespace
