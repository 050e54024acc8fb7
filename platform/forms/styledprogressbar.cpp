#include "styledprogressbar.h"

#include <QPainter>
#include <QStyle>

namespace vx {

StyledProgressBar::StyledProgressBar(Form *form, const QString &name, QWidget *container)
    : ProgressBar(form, name, container)
{
    setAccessibleName(name);
}

void StyledProgressBar::setScrolling(int style)
{
    scrolling_ = style;
    update();
}

void StyledProgressBar::setBarColor(qint32 colour)
{
    barColor_ = colour;
    update();
}

void StyledProgressBar::setBarBackColor(qint32 colour)
{
    barBackColor_ = colour;
    update();
}

void StyledProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect outer = rect();
    p.fillRect(outer, toQColor(barBackColor_));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(outer.adjusted(0, 0, -1, -1));
    const QRect inner = outer.adjusted(2, 2, -2, -2);
    const qint64 span = qint64(maximum()) - minimum();
    if (span <= 0 || inner.width() <= 0)
        return;
    const int filled = int(qint64(inner.width()) * (qint64(value()) - minimum()) / span);
    const QColor bar = toQColor(barColor_);
    if (scrolling_ != 0) {
        p.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()), bar);
        return;
    }
    // Blocks about two thirds as wide as the bar is high, two pixels apart.
    const int block = std::max(2, inner.height() * 2 / 3);
    for (int x = 0; x < filled; x += block + 2)
        p.fillRect(QRect(inner.left() + x, inner.top(), std::min(block, filled - x), inner.height()), bar);
}

} // namespace vx
