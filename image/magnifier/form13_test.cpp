#include "image/magnifier/form13.h"

#include "platform/imaging/picture.h"
#include "testing/harness.h"

#include <QApplication>
#include <QCursor>

using namespace vx;

namespace {

class Form13Test : public vxtest::GuiTest {};

TEST_F(Form13Test, CopiesOnlyTheAreaAroundThePointerStretchedToItsPicture)
{
    // Red left of x = 500, blue from there, on screen from (400, 300).
    QWidget pattern;
    pattern.setWindowFlag(Qt::FramelessWindowHint);
    pattern.setGeometry(400, 300, 200, 200);
    QPalette pal = pattern.palette();
    pal.setColor(QPalette::Window, Qt::red);
    pattern.setPalette(pal);
    pattern.setAutoFillBackground(true);
    QWidget right(&pattern);
    right.setGeometry(100, 0, 100, 200);
    pal.setColor(QPalette::Window, Qt::blue);
    right.setPalette(pal);
    right.setAutoFillBackground(true);
    pattern.show();
    QApplication::processEvents();
    pattern.repaint();

    Form13 &m = instance<Form13>();
    m.Move(0, 0);
    EXPECT_TRUE(m.Timer1.Enabled());
    std::vector<QRect> grabbed;
    setScreenGrabHook([&](const QRect &area) { grabbed.push_back(area); });
    QCursor::setPos(500, 400);
    m.Timer1_Timer();
    setScreenGrabHook({});

    ASSERT_EQ(grabbed.size(), 1u);
    EXPECT_TRUE(grabbed[0].contains(QPoint(500, 400)));
    EXPECT_EQ(grabbed[0].size(), m.Picture1.size()) << "only the small area, never the screen";
    const QImage shown = m.Picture2.Picture().toImage();
    ASSERT_EQ(shown.size(), m.Picture2.size());
    // The pointer's column splits red from blue at the same share of the picture.
    const double split = double(500 - grabbed[0].left()) / grabbed[0].width() * shown.width();
    const int y = shown.height() / 2;
    EXPECT_EQ(shown.pixelColor(0, y), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(int(split) - 3, y), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(int(split) + 3, y), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(shown.width() - 1, y), QColor(Qt::blue));
    EXPECT_TRUE(m.Picture1.Picture().isNull());
    EXPECT_TRUE(m.windowFlags().testFlag(Qt::FramelessWindowHint));
}

} // namespace
