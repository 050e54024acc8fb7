#include "label.h"

#include <QMouseEvent>

namespace vx {

Label::Label(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    foreColor_ = syscolor::ButtonText;
}

void Label::setBackStyle(int style)
{
    setAutoFillBackground(style != 0);
}

void Label::mousePressEvent(QMouseEvent *e)
{
    QLabel::mousePressEvent(e);
    pressed_ = true;
}

void Label::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    // The release that ends a double click is no second click.
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        fire(Click);
}

void Label::mouseDoubleClickEvent(QMouseEvent *e)
{
    (void)e;
    pressed_ = false;
    fire(DblClick);
}

} // namespace vx
