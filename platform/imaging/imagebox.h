#pragma once
// Image box with a stretch switch. Off: loading a picture sets the box to the
// picture's natural size. On: the box keeps its size and the picture is scaled
// to fill it. Width and height are single-precision twips, kept exactly (not
// rounded to pixels), and the picture is scaled at paint time: a huge box
// never allocates a huge copy.
#include "platform/forms/controls.h"
#include "platform/imaging/picture.h"

#include <functional>

namespace vx {

class ImageBox : public Control<QWidget> {
    Q_OBJECT
public:
    ImageBox(Form *form, const QString &name, QWidget *container = nullptr);

    // The whole picture: one still decoding is waited for.
    const vx::Picture &Picture() const;
    // A picture still decoding (LoadPictureWhileShown) is painted row by row
    // as it arrives; the box's size follows its natural size at once.
    void setPicture(const vx::Picture &p);
    bool Stretch() const { return stretch_; }
    // Turning stretch off sets the box to the picture's natural size.
    void setStretch(bool on);

    // Exact twips; a size beyond what a window can show raises error 380 and
    // leaves the box unchanged.
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setWidth(float twips);
    void setHeight(float twips);
    void Move(double left, double top, double width, double height);
    // Position in twips, kept exactly too (the box may reach far outside its
    // holder, e.g. when scrolled).
    double Left() const { return left_; }
    double Top() const { return top_; }
    void setLeft(double twips);
    void setTop(double twips);

    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    std::function<void(const QStringList &)> OLEDragDrop;

    // Largest width or height in twips the box accepts.
    static constexpr float kMaxTwips = 16777215.0f;

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void applySize();
    QRectF boxPixels() const;
    QPointF twipsAt(const QPointF &pos) const;
    QImage shown_;     // the picture in a format painted without conversion
    QPointF offset_;   // box origin to widget origin, in pixels
    double left_ = 0;
    double top_ = 0;
    bool pressed_ = false;
    vx::Picture picture_;
    bool stretch_ = false;
    float width_ = 0;
    float height_ = 0;
};

} // namespace vx
