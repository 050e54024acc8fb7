#include "line.h"


#include <QPainter>

#include <algorithm>

namespace vx {

Line::Line(Form *form, const QString &name, QWidget *container)
    : QWidget(container ? container : form->client()), color_(syscolor::WindowText)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    lower();
    place();
}

void Line::Move(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    place();
}

void Line::setBorderColor(qint32 colour)
{
    color_ = colour;
    update();
}

void Line::setBorderWidth(int pixels)
{
    width_ = std::max(1, pixels);
    place();
}

// The widget covers the line's bounding box plus the pen; the line itself is
// drawn in paintEvent.
void Line::place()
{
    const int ax = toPixels(x1_), ay = toPixels(y1_), bx = toPixels(x2_), by = toPixels(y2_);
    const int half = width_ / 2;
    setGeometry(std::min(ax, bx) - half, std::min(ay, by) - half, std::abs(bx - ax) + width_,
                std::abs(by - ay) + width_);
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    const QPoint origin = geometry().topLeft();
    // Pixel centres for odd pens, pixel edges for even ones: crisp either way.
    const double c = width_ % 2 ? 0.5 : 0.0;
    const QPointF a(toPixels(x1_) - origin.x() + c, toPixels(y1_) - origin.y() + c);
    const QPointF b(toPixels(x2_) - origin.x() + c, toPixels(y2_) - origin.y() + c);
    QPainter p(this);
    // Square caps reach both end points, as the classic line includes them.
    p.setPen(QPen(toQColor(color_), width_, Qt::SolidLine, Qt::SquareCap));
    p.setRenderHint(QPainter::Antialiasing, a.x() != b.x() && a.y() != b.y());
    p.drawLine(a, b);
}

} // namespace vx
