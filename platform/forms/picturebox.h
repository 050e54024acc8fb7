#pragma once
#include "control.h"
#include "mouse.h"

#include <QFrame>
#include <QPixmap>

#include <functional>

namespace vx {

class PictureBox : public Control<QFrame> {
    Q_OBJECT
public:
    PictureBox(Form *form, const QString &name, QWidget *container = nullptr);
    const QPixmap &Picture() const { return picture_; }
    void setPicture(const QPixmap &pm);
    // 0 none, 1 fixed single.
    void setBorderStyle(int style);
    // Draw the picture scaled to fill the box (icons drawn at any box size).
    void setStretchPicture(bool on) { stretch_ = on; update(); }
    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    QPixmap picture_;
    bool stretch_ = false;
    bool pressed_ = false;
};

} // namespace vx
