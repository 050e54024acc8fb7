#include "picturebutton.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QStyleOptionToolButton>
#include <QStylePainter>

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

void PictureButton::paintEvent(QPaintEvent *)
{
    // The style's label centres picture and caption together and cuts what
    // passes the border; the style draws the button, we place its contents.
    QStylePainter p(this);
    QStyleOptionToolButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    opt.icon = QIcon();
    p.drawComplexControl(QStyle::CC_ToolButton, opt);

    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
    const QRect inner = rect().adjusted(frame, frame, -frame, -frame);
    if (inner.isEmpty())
        return;

    // The caption's line at the bottom, tall enough for its ink (descenders,
    // accents above capitals) as well as for the font's own line.
    int bottom = inner.bottom() + 1;
    if (!caption.isEmpty()) {
        const QFontMetrics fm(font());
        const QRect ink = fm.boundingRect(caption);
        const int above = std::max(fm.ascent(), -ink.top());
        const int below = std::max(fm.descent(), ink.bottom() + 1);
        const int baseline = inner.bottom() + 1 - below;
        const QString shown = fm.elidedText(caption, Qt::ElideRight, inner.width());
        const int width = fm.horizontalAdvance(shown);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawText(inner.left() + (inner.width() - width) / 2, baseline, shown);
        bottom = baseline - above - 2;
    }
    // The picture centred above it, reduced to fit when it must be.
    const QRect room(inner.left(), inner.top(), inner.width(), std::max(0, bottom - inner.top()));
    if (picture_.isNull() || room.isEmpty())
        return;
    const QSize size = picture_.size().boundedTo(room.size()) == picture_.size()
                           ? picture_.size()
                           : picture_.size().scaled(room.size(), Qt::KeepAspectRatio);
    const QPixmap pm = icon().pixmap(size, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const QSize drawn = pm.deviceIndependentSize().toSize();
    p.drawPixmap(QRect(QPoint(room.left() + (room.width() - drawn.width()) / 2,
                              room.top() + (room.height() - drawn.height()) / 2),
                       drawn),
                 pm);
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
