#include "form2.h"

#include "testing/harness.h"

namespace {

bool near(QRgb got, const QColor &want, int tolerance)
{
    return std::abs(qRed(got) - want.red()) <= tolerance && std::abs(qGreen(got) - want.green()) <= tolerance &&
           std::abs(qBlue(got) - want.blue()) <= tolerance;
}

class ViewerArtworkTest : public vxtest::GuiTest {};

// The landscape is compiled into the program; a missing one would leave a
// black box where the viewer greets the user.
TEST_F(ViewerArtworkTest, StartUpPictureIsTheLandscape)
{
    const vx::Picture &p = vx::instance<Form2>().Image1.Picture();
    // Drawn at the size of the box it fills (9540 x 7785 twips).
    ASSERT_EQ(p.image.size(), QSize(636, 519));
    EXPECT_EQ(p.format, QStringLiteral("bmp"));
    EXPECT_TRUE(near(p.image.pixel(13, 1), QColor(0x2B, 0x5F, 0x9E), 6)) << "sky";
    EXPECT_TRUE(near(p.image.pixel(490, 133), QColor(0xFF, 0xE0, 0x82), 2)) << "sun";
    EXPECT_TRUE(near(p.image.pixel(146, 288), QColor(0x5E, 0x7F, 0x9B), 2)) << "mountains";
    EXPECT_TRUE(near(p.image.pixel(26, 505), QColor(0x4C, 0x8C, 0x4A), 2)) << "meadow";
}

} // namespace
