#include "platform/core/errors.h"
#include "platform/imaging/imagebox.h"
#include "testing/harness.h"
#include "testing/errors.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <cmath>
#include <limits>

using vxtest::errorOf;

using namespace vx;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(9000, 6000); } // 600 x 400 pixels
    ImageBox Image1{this, QStringLiteral("Image1")};
};

// Left half red, right half blue.
Picture twoColours(int w, int h)
{
    Picture p;
    p.image = QImage(w, h, QImage::Format_RGB32);
    p.image.fill(Qt::red);
    QPainter(&p.image).fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    p.format = QStringLiteral("bmp");
    return p;
}

QImage renderClient(Form &f)
{
    QImage out(f.client()->size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    f.client()->render(&out);
    return out;
}

class ImageBoxTest : public vxtest::GuiTest {};

TEST_F(ImageBoxTest, StretchOffTakesNaturalSizeAndStretchOnKeepsTheBox)
{
    Host h;
    h.Image1.Move(150, 150, 3000, 3000);
    h.Image1.setPicture(twoColours(37, 23));
    EXPECT_EQ(h.Image1.Width(), 555.0f);
    EXPECT_EQ(h.Image1.Height(), 345.0f);
    EXPECT_EQ(h.Image1.geometry(), QRect(10, 10, 37, 23));

    h.Image1.setStretch(true);
    h.Image1.setHeight(h.Image1.Height() * 1.05f);
    h.Image1.setWidth(h.Image1.Width() * 1.05f);
    EXPECT_EQ(h.Image1.Height(), 345.0f * 1.05f) << "kept exactly, not rounded to pixels";
    EXPECT_EQ(h.Image1.Width(), 555.0f * 1.05f);

    h.Image1.setPicture(twoColours(100, 10));
    EXPECT_EQ(h.Image1.Width(), 555.0f * 1.05f) << "stretch on: a new picture keeps the box";
    h.Image1.setStretch(false);
    EXPECT_EQ(h.Image1.Width(), 1500.0f);
    EXPECT_EQ(h.Image1.Height(), 150.0f);
    h.Image1.setPicture(Picture());
    EXPECT_EQ(h.Image1.Width(), 0.0f);
}

TEST_F(ImageBoxTest, SizeOutsideTheAcceptedRangeRaisesAndChangesNothing)
{
    Host h;
    h.Image1.setStretch(true);
    h.Image1.Move(0, 0, 3000, 1500);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf, -inf, -15.0f, ImageBox::kMaxTwips * 1.01f}) {
        EXPECT_EQ(errorOf([&] { h.Image1.setWidth(bad); }), err::InvalidProperty) << bad;
        EXPECT_EQ(errorOf([&] { h.Image1.setHeight(bad); }), err::InvalidProperty) << bad;
        EXPECT_EQ(errorOf([&] { h.Image1.Move(15, 15, 3000, bad); }), err::InvalidProperty) << bad;
    }
    EXPECT_EQ(errorOf([&] { h.Image1.Move(15, 15, 1e300, 3000); }), err::InvalidProperty);
    EXPECT_EQ(errorOf([&] { h.Image1.setLeft(nan); }), err::InvalidProperty);
    EXPECT_EQ(h.Image1.Width(), 3000.0f);
    EXPECT_EQ(h.Image1.Height(), 1500.0f);
    EXPECT_EQ(h.Image1.Left(), 0.0);
    EXPECT_EQ(h.Image1.geometry(), QRect(0, 0, 200, 100));

    h.Image1.setWidth(ImageBox::kMaxTwips);
    EXPECT_EQ(h.Image1.Width(), ImageBox::kMaxTwips);
    EXPECT_LE(h.Image1.width(), 600) << "the widget covers only what its holder shows";
}

TEST_F(ImageBoxTest, HugeStretchedBoxPaintsOnlyTheVisiblePartQuickly)
{
    Host h;
    h.Image1.setStretch(true);
    h.Image1.setPicture(twoColours(64, 48));
    h.Image1.Move(0, 0, 1e6, 1e6);
    EXPECT_EQ(h.Image1.geometry(), QRect(0, 0, 600, 400));

    QElapsedTimer t;
    t.start();
    QImage shot = renderClient(h);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(595, 395), QColor(Qt::red)) << "the left of the box fills the view";

    // Scrolled to the box's right end: the right half of the picture shows.
    h.Image1.setLeft(-(1e6 - 9000));
    EXPECT_EQ(h.Image1.Left(), -(1e6 - 9000));
    shot = renderClient(h);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(595, 5), QColor(Qt::blue));
    EXPECT_LT(t.elapsed(), 3000) << "two paints of a box of 66666 pixels square";
}

TEST_F(ImageBoxTest, PaintsAtNaturalSizeOrScaledToTheBox)
{
    Host h;
    h.Image1.setPicture(twoColours(40, 20));
    h.Image1.Move(300, 300, 3000, 3000); // stretch off: a larger box draws the picture unscaled
    QImage shot = renderClient(h);
    const QColor background = shot.pixelColor(599, 399);
    EXPECT_EQ(shot.pixelColor(20 + 10, 25), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(20 + 30, 25), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(20 + 45, 25), background) << "nothing is drawn outside the picture";

    h.Image1.setStretch(true);
    h.Image1.Move(300, 300, 6000, 1500); // 400 x 100 pixels
    shot = renderClient(h);
    EXPECT_EQ(shot.pixelColor(20 + 190, 100), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(20 + 210, 100), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(20 + 405, 100), background);
}

TEST_F(ImageBoxTest, MouseAndDropsReportTwipsInsideTheWholeBox)
{
    Host h;
    h.Image1.setStretch(true);
    h.Image1.Move(-15000, 0, 1e6, 1e6); // 1000 pixels scrolled out on the left
    int button = 0;
    float x = 0, y = 0;
    h.Image1.MouseDown = [&](int b, int, float px, float py) {
        button = b;
        x = px;
        y = py;
    };
    int clicks = 0;
    h.Image1.Click = [&] { ++clicks; };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), QPointF(10, 20), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&h.Image1, &press);
    EXPECT_EQ(button, 2);
    EXPECT_EQ(x, (1000 + 10) * 15.0f);
    EXPECT_EQ(y, 20 * 15.0f);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 20), QPointF(10, 20), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&h.Image1, &release);
    EXPECT_EQ(clicks, 0) << "Click is the left button's";

    QStringList dropped;
    h.Image1.OLEDragDrop = [&](const QStringList &files) { dropped = files; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/one.jpg")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/two.bmp"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.Image1, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.Image1, &drop);
    EXPECT_EQ(dropped, (QStringList{"/tmp/one.jpg", "/tmp/two.bmp"}));
}

} // namespace
