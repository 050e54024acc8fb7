#pragma once
// The line decoration: a straight line from (X1, Y1) to (X2, Y2) in twips
// inside the window's client area. It takes no input and lies under controls.
#include "colors.h"
#include "form.h"

#include <QWidget>

namespace vx {

class Line : public QWidget {
    Q_OBJECT
public:
    Line(Form *form, const QString &name, QWidget *container = nullptr);

    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void setX1(double t) { x1_ = t; place(); }
    void setY1(double t) { y1_ = t; place(); }
    void setX2(double t) { x2_ = t; place(); }
    void setY2(double t) { y2_ = t; place(); }
    void Move(double x1, double y1, double x2, double y2);

    qint32 BorderColor() const { return color_; }
    void setBorderColor(qint32 colour);
    // Pen width in pixels.
    int BorderWidth() const { return width_; }
    void setBorderWidth(int pixels);

    bool Visible() const { return !isHidden(); }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void place();
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    qint32 color_;
    int width_ = 1;
};

} // namespace vx
