#include "picturebutton.h"

#include <QKeyEvent>
#include <QPixmap>

namespace vx {

PictureButton::PictureButton(Form *form, const QString &name, QWidget *container) : Control(form, name, container)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setFocusPolicy(Qt::StrongFocus);
    setAutoRaise(false);
    setColorRoles({QPalette::Button, QPalette::Window}, {QPalette::ButtonText});
    connect(this, &QToolButton::clicked, this, [this] { fire(Click); });
}

void PictureButton::setCaption(const QString &c)
{
    setText(c);
    setAccessibleName(c);
}

void PictureButton::setPicture(const QImage &image)
{
    picture_ = image;
    if (image.isNull()) {
        setIcon(QIcon());
        return;
    }
    setIcon(QIcon(QPixmap::fromImage(image)));
    setIconSize(image.size());
}

void PictureButton::keyPressEvent(QKeyEvent *e)
{
    // A button answers Enter as it answers space.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        animateClick();
        return;
    }
    QToolButton::keyPressEvent(e);
}

} // namespace vx
