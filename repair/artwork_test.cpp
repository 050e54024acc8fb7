#include "repair/pages.h"

#include "testing/harness.h"

namespace {

class StripTest : public vxtest::GuiTest {};

// The strip is compiled into the program; a missing one would leave a blank
// column beside every page.
TEST_F(StripTest, EveryPageShowsTheStripWithItsCog)
{
    const QImage strip = vx::instance<repair::Form01>().Picture1.Picture().toImage();
    ASSERT_EQ(strip.size(), QSize(164, 312));
    const QRgb top = strip.pixel(2, 2);
    EXPECT_LT(qRed(top), 0x30);
    EXPECT_GT(qBlue(top), 0x50) << "deep blue at the top";
    const QRgb tooth = strip.pixel(126, 93);
    EXPECT_GT(qRed(tooth), 0xE0) << "the cog's right tooth is near white";
    const QRgb hole = strip.pixel(82, 93);
    EXPECT_LT(qRed(hole), 0xA0) << "the cog's middle is open";
    EXPECT_EQ(vx::instance<repair::Form05>().Picture1.Picture().toImage(), strip);
}

} // namespace
