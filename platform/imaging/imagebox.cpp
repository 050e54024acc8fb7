#include "imagebox.h"

#include "platform/forms/events.h"

#include "platform/core/errors.h"
#include "platform/imaging/picturerows.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace vx {

namespace {

// Qt allows far larger widgets, but nothing that big can be shown or painted.
constexpr int kMaxWidgetPixels = 32767;

bool validSize(double twips)
{
    return std::isfinite(twips) && twips >= 0.0 && twips <= ImageBox::kMaxTwips;
}

bool validPosition(double twips)
{
    return std::isfinite(twips) && std::fabs(twips) <= ImageBox::kMaxTwips;
}

// Formats the raster engine scales directly, without converting the whole image per paint.
QImage paintable(const QImage &image)
{
    if (image.isNull())
        return image;
    const QImage::Format f = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.format() == f ? image : image.convertToFormat(f);
}

} // namespace

ImageBox::ImageBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    static const ControlEvent kEvents[] = {
        {"Click", eventOf<&ImageBox::Click>},
        {"DblClick", eventOf<&ImageBox::DblClick>},
        {"MouseDown", eventOf<&ImageBox::MouseDown>},
        {"OLEDragDrop", eventOf<&ImageBox::OLEDragDrop>},
    };
    addControlEvents(kEvents);
    setAcceptDrops(true);
    left_ = toTwips(x());
    top_ = toTwips(y());
    if (parentWidget())
        parentWidget()->installEventFilter(this);
    applySize();
}

const vx::Picture &ImageBox::Picture() const
{
    WaitForPicture(picture_);
    return picture_;
}

void ImageBox::setPicture(const vx::Picture &p)
{
    // A picture let go mid-decode stops decoding, and its memory is free
    // (for the next picture) before this returns.
    if (picture_.rows && picture_.rows != p.rows) {
        picture_.rows->abandon();
        picture_.rows->waitWorker();
    }
    picture_ = p;
    shown_ = paintable(p.image);
    if (!stretch_) {
        width_ = static_cast<float>(p.widthTwips());
        height_ = static_cast<float>(p.heightTwips());
        applySize();
    }
    update();
}

void ImageBox::setStretch(bool on)
{
    stretch_ = on;
    if (!on) {
        width_ = static_cast<float>(picture_.widthTwips());
        height_ = static_cast<float>(picture_.heightTwips());
        applySize();
    }
    update();
}

void ImageBox::setWidth(float twips)
{
    if (!validSize(twips))
        vx::raise(err::InvalidProperty);
    width_ = twips;
    applySize();
}

void ImageBox::setHeight(float twips)
{
    if (!validSize(twips))
        vx::raise(err::InvalidProperty);
    height_ = twips;
    applySize();
}

void ImageBox::setLeft(double twips)
{
    if (!validPosition(twips))
        vx::raise(err::InvalidProperty);
    left_ = twips;
    applySize();
}

void ImageBox::setTop(double twips)
{
    if (!validPosition(twips))
        vx::raise(err::InvalidProperty);
    top_ = twips;
    applySize();
}

void ImageBox::Move(double left, double top, double width, double height)
{
    if (!validPosition(left) || !validPosition(top) || !validSize(width) || !validSize(height))
        vx::raise(err::InvalidProperty);
    left_ = left;
    top_ = top;
    width_ = static_cast<float>(width);
    height_ = static_cast<float>(height);
    applySize();
}

QRectF ImageBox::boxPixels() const
{
    return QRectF(left_ / kTwipsPerPixel, top_ / kTwipsPerPixel, static_cast<double>(width_) / kTwipsPerPixel,
                  static_cast<double>(height_) / kTwipsPerPixel);
}

// The widget covers only the part of the box its holder can show (at most
// kMaxWidgetPixels square); painting and mouse positions add the offset back.
void ImageBox::applySize()
{
    const QRectF box = boxPixels();
    QRectF shown = box;
    if (parentWidget())
        shown = shown.intersected(QRectF(parentWidget()->rect()));
    const int x = static_cast<int>(std::floor(shown.left()));
    const int y = static_cast<int>(std::floor(shown.top()));
    const int w = std::clamp(static_cast<int>(std::ceil(shown.right())) - x, 0, kMaxWidgetPixels);
    const int h = std::clamp(static_cast<int>(std::ceil(shown.bottom())) - y, 0, kMaxWidgetPixels);
    offset_ = QPointF(x - box.left(), y - box.top());
    if (geometry() != QRect(x, y, w, h))
        setGeometry(x, y, w, h);
    update();
}

bool ImageBox::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == parentWidget() && e->type() == QEvent::Resize)
        applySize();
    return Control::eventFilter(watched, e);
}

void ImageBox::paintEvent(QPaintEvent *e)
{
    if (shown_.isNull())
        return;
    // The box in widget coordinates; only its visible part is drawn.
    const QRectF box = QRectF(-offset_, boxPixels().size());
    const QRectF target = stretch_ ? box : QRectF(box.topLeft(), QSizeF(shown_.size()));
    const QRectF visible = target.intersected(QRectF(e->rect())).intersected(box);
    if (visible.isEmpty() || target.width() <= 0 || target.height() <= 0)
        return;
    const double sx = shown_.width() / target.width();
    const double sy = shown_.height() / target.height();
    const QRectF source((visible.left() - target.left()) * sx, (visible.top() - target.top()) * sy,
                        visible.width() * sx, visible.height() * sy);
    // The rows painted (and the one below, which smooth scaling reads).
    if (picture_.rows)
        picture_.rows->waitFor(std::min(shown_.height(), static_cast<int>(std::ceil(source.bottom())) + 1));
    QPainter p(this);
    // Smooth only when shrinking: enlarging keeps crisp pixels and stays cheap.
    p.setRenderHint(QPainter::SmoothPixmapTransform, sx > 1.0 || sy > 1.0);
    p.drawImage(visible, shown_, source);
}

QPointF ImageBox::twipsAt(const QPointF &pos) const
{
    return (pos + offset_) * kTwipsPerPixel;
}

void ImageBox::mousePressEvent(QMouseEvent *e)
{
    pressed_ = e->button() == Qt::LeftButton;
    if (MouseDown) {
        const QPointF t = twipsAt(e->position());
        const int button = mouseButtonValue(e->button());
        const int shift = shiftValue(e->modifiers());
        dispatch([&] { MouseDown(button, shift, static_cast<float>(t.x()), static_cast<float>(t.y())); });
    }
}

void ImageBox::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    pressed_ = false;
    if (click)
        fire(Click);
}

void ImageBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    fire(DblClick);
}

void ImageBox::dragEnterEvent(QDragEnterEvent *e) { acceptFileDrag(e, OLEDragDrop); }

void ImageBox::dropEvent(QDropEvent *e) { deliverFileDrop(e, OLEDragDrop); }

} // namespace vx
