#include "canvasbox.h"

#include <QPaintEvent>
#include <QPainter>

namespace vx {

CanvasBox::CanvasBox(Form *form, const QString &name, QWidget *container) : Control(form, name, container)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackColor(0);
    setAccessibleName(name);
}

void CanvasBox::setImage(const QImage &image)
{
    image_ = image;
    update();
}

void CanvasBox::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    const QRect area = e->rect();
    p.fillRect(area, toQColor(BackColor()));
    const QRect shown = area.intersected(QRect(QPoint(0, 0), image_.size()));
    if (!shown.isEmpty())
        p.drawImage(shown.topLeft(), image_, shown);
}

} // namespace vx
