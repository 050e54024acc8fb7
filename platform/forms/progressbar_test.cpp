#include "platform/forms/progressbar.h"

#include "platform/core/errors.h"
#include "testing/harness.h"
#include "testing/errors.h"

using vxtest::errorOf;

using namespace vx;

namespace {

class Bar : public Form {
public:
    Bar() : Form(QStringLiteral("Bar")) {}
    ProgressBar ProgressBar1{this, QStringLiteral("ProgressBar1")};
};

class ProgressBarTest : public vxtest::GuiTest {};

TEST_F(ProgressBarTest, ValueStaysWithinMinAndMax)
{
    ProgressBar &b = instance<Bar>().ProgressBar1;
    EXPECT_EQ(b.Value(), 0);
    b.setValue(100);
    EXPECT_EQ(b.Value(), 100);
    EXPECT_EQ(errorOf([&] { b.setValue(101); }), err::InvalidProperty);
    EXPECT_EQ(errorOf([&] { b.setValue(-1); }), err::InvalidProperty);
    EXPECT_EQ(b.Value(), 100);

    EXPECT_EQ(errorOf([&] { b.setMax(0); }), err::InvalidProperty) << "Max must stay above Min";
    EXPECT_EQ(errorOf([&] { b.setMin(100); }), err::InvalidProperty);
    b.setMax(50);
    EXPECT_EQ(b.Value(), 50) << "a narrower range takes the value along";
    b.setMin(20);
    b.setValue(20);
    b.setMax(200);
    EXPECT_EQ(b.Value(), 20);
    EXPECT_EQ(b.Min(), 20);
    EXPECT_EQ(b.Max(), 200);
}

} // namespace
