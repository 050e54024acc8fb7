#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace vx {

PictureBox::PictureBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
}

void PictureBox::setPicture(const QPixmap &pm)
{
    picture_ = pm;
    update();
}

void PictureBox::setBorderStyle(int style)
{
    setFrameShape(style ? QFrame::Box : QFrame::NoFrame);
}

void PictureBox::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    if (picture_.isNull())
        return;
    QPainter p(this);
    const QRect r = contentsRect();
    if (stretch_) {
        QPixmap scaled = picture_.scaled(r.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap(r.x() + (r.width() - scaled.width()) / 2, r.y() + (r.height() - scaled.height()) / 2, scaled);
    } else {
        p.drawPixmap(r.topLeft(), picture_);
    }
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    pressed_ = true;
    const QPointF pt = e->position();
    const int button = mouseButtonValue(e->button());
    const int shift = shiftValue(e->modifiers());
    dispatch([&] {
        if (MouseDown)
            MouseDown(button, shift, static_cast<float>(toTwips(1) * pt.x()), static_cast<float>(toTwips(1) * pt.y()));
    });
}

void PictureBox::mouseMoveEvent(QMouseEvent *e)
{
    const QPointF pt = e->position();
    const int buttons = mouseButtonValue(e->buttons());
    const int shift = shiftValue(e->modifiers());
    dispatch([&] {
        if (MouseMove)
            MouseMove(buttons, shift, static_cast<float>(toTwips(1) * pt.x()), static_cast<float>(toTwips(1) * pt.y()));
    });
}

void PictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    const QPointF pt = e->position();
    const int button = mouseButtonValue(e->button());
    const int shift = shiftValue(e->modifiers());
    const bool wasPressed = pressed_;
    pressed_ = false;
    dispatch([&] {
        if (MouseUp)
            MouseUp(button, shift, static_cast<float>(toTwips(1) * pt.x()), static_cast<float>(toTwips(1) * pt.y()));
    });
    if (wasPressed && e->button() == Qt::LeftButton && rect().contains(pt.toPoint()))
        fire(Click);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    (void)e;
    fire(DblClick);
}

} // namespace vx
