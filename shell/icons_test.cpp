#include "shell/icons.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace shell::icons;

namespace {

// Pixels the picture covers more than half.
int covered(const QPixmap &pm)
{
    const QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 127;
    return n;
}

bool near(QRgb got, const QColor &want, int tolerance = 12)
{
    return std::abs(qRed(got) - want.red()) <= tolerance && std::abs(qGreen(got) - want.green()) <= tolerance &&
           std::abs(qBlue(got) - want.blue()) <= tolerance && qAlpha(got) == 255;
}

// The drawings are compiled into the program: a resource that did not get
// there leaves a transparent square, which would pass unnoticed on screen.
TEST(Icons, EveryGlyphIsDrawnAtTheAskedSize)
{
    for (int g = static_cast<int>(Glyph::ImageViewer); g <= static_cast<int>(Glyph::Capture); ++g) {
        for (int size : {24, 48}) {
            const QPixmap pm = glyph(static_cast<Glyph>(g), size);
            EXPECT_EQ(pm.size(), QSize(size, size));
            EXPECT_GT(covered(pm), size * size / 4) << "glyph " << g << " at " << size;
        }
    }
    // the about badge: its blue round with the white letter in the middle
    const QImage about = glyph(Glyph::About, 48).toImage();
    EXPECT_TRUE(near(about.pixel(24, 28), Qt::white));
    EXPECT_TRUE(near(about.pixel(10, 36), QColor(0x29, 0x80, 0xB9), 40));
}

TEST(Icons, AboutWindowPicturesAreDrawn)
{
    // the grip: ten dark dots, each with a light edge below and right, and
    // nothing else (the bar window's wall shows around them)
    const QImage g = grip().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(g.size(), QSize(16, 16));
    EXPECT_EQ(covered(grip()), 66);
    for (int row = 0; row < 5; ++row) {
        for (int x : {5, 9}) {
            const int y = 2 + row * 3;
            EXPECT_EQ(g.pixel(x, y), qRgb(0x60, 0x64, 0x6C)) << x << "," << y;
            EXPECT_EQ(g.pixel(x + 1, y + 1), qRgb(0x60, 0x64, 0x6C)) << x << "," << y;
            EXPECT_EQ(g.pixel(x + 2, y + 1), qRgb(0xFF, 0xFF, 0xFF)) << x << "," << y;
            if (y + 2 < 16) {
                EXPECT_EQ(g.pixel(x + 1, y + 2), qRgb(0xFF, 0xFF, 0xFF)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(qAlpha(g.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(g.pixel(15, 15)), 0);
    EXPECT_GT(covered(star(32)), 32 * 32 / 5);
    EXPECT_GT(covered(flower(32)), 32 * 32 / 3);
    // the banner's mark and the link's globe are drawings too; their texts are not
    const QImage banner = shell::icons::banner(QString(), QString(), 300, 44).toImage();
    EXPECT_TRUE(near(banner.pixel(4, 22), QColor(0x5D, 0xAD, 0xE2), 40));
    const QImage link = webLink(QString(), 220, 18).toImage();
    EXPECT_TRUE(near(link.pixel(4, 12), QColor(0xD6, 0xEA, 0xF8), 2));
}

TEST(Icons, MascotTakesTheBodyColourAndKeepsItsFace)
{
    const QColor red(0xE8, 0x4A, 0x4A), orange(0xF5, 0xA0, 0x3A);
    const QImage a = mascot(red, 96).toImage();
    const QImage b = mascot(orange, 96).toImage();
    // an ear is the plain body colour; the ear's rim its darker tone
    EXPECT_TRUE(near(a.pixel(22, 20), red, 2));
    EXPECT_TRUE(near(b.pixel(22, 20), orange, 2));
    EXPECT_TRUE(near(a.pixel(26, 12), red.darker(150), 24));
    // the eyes' whites stay white on every body
    EXPECT_TRUE(near(a.pixel(33, 44), Qt::white, 2));
    EXPECT_TRUE(near(b.pixel(33, 44), Qt::white, 2));
}

} // namespace
