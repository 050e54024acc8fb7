#pragma once
// A picture box whose persistent image holds a whole picture at 1:1 pixels,
// drawn at the box's top-left corner over its back colour. The box may be
// moved far out of its holder and made much larger than it shows: only the
// part on screen is painted and nothing scaled is allocated.
#include "platform/forms/controls.h"

#include <QImage>

namespace vx {

class CanvasBox : public Control<QWidget> {
    Q_OBJECT
public:
    CanvasBox(Form *form, const QString &name, QWidget *container = nullptr);

    const QImage &Image() const { return image_; }
    void setImage(const QImage &image);

    // Position and size in pixels; a negative size is taken as 0.
    int pxLeft() const { return x(); }
    int pxTop() const { return y(); }
    int pxWidth() const { return width(); }
    int pxHeight() const { return height(); }
    void setPxLeft(int v) { move(v, y()); }
    void setPxTop(int v) { move(x(), v); }
    void setPxWidth(int v) { resize(std::max(0, v), height()); }
    void setPxHeight(int v) { resize(width(), std::max(0, v)); }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QImage image_;
};

} // namespace vx
