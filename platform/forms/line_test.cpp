#include "platform/forms/line.h"

#include "testing/harness.h"

#include <QImage>

using namespace vx;

namespace {

class Lines : public Form {
public:
    Lines() : Form(QStringLiteral("Lines"))
    {
        setClientSize(3000, 3000);
        setBackColor(rgb(255, 255, 255));
        Line1.Move(150, 300, 1500, 300); // pixels (10,20) to (100,20)
        Line1.setBorderColor(rgb(255, 0, 0));
        Line2.Move(1800, 1500, 1800, 600); // upwards, pixels (120,100) to (120,40)
        Line2.setBorderColor(rgb(0, 0, 255));
        Line2.setBorderWidth(3);
    }
    Line Line1{this, QStringLiteral("Line1")};
    Line Line2{this, QStringLiteral("Line2")};
};

class LineTest : public vxtest::GuiTest {};

TEST_F(LineTest, DrawsFromEndToEndAndNothingElse)
{
    Lines &f = instance<Lines>();
    f.Show();
    const QImage img = f.client()->grab().toImage();
    auto at = [&](int x, int y) { return QColor(img.pixel(x, y)); };
    for (int x : {10, 55, 100})
        EXPECT_EQ(at(x, 20), QColor(Qt::red)) << x;
    for (auto [x, y] : {std::pair{9, 20}, {101, 20}, {55, 19}, {55, 21}})
        EXPECT_NE(at(x, y), QColor(Qt::red)) << x << "," << y;

    for (int y : {40, 70, 100})
        for (int x : {119, 120, 121})
            EXPECT_EQ(at(x, y), QColor(Qt::blue)) << x << "," << y;
    EXPECT_NE(at(118, 70), QColor(Qt::blue));
    EXPECT_NE(at(122, 70), QColor(Qt::blue));
    EXPECT_NE(at(120, 36), QColor(Qt::blue));
}

} // namespace
