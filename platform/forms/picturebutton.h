#pragma once
// Graphical button: a picture with its caption below, clicked like a button
// (mouse, space, Enter while focused, or assistive technology's press). The
// caption is always drawn whole; a picture too tall to leave it room is shown
// reduced.
#include "control.h"

#include <QImage>
#include <QToolButton>

#include <functional>

namespace vx {

class PictureButton : public Control<QToolButton> {
    Q_OBJECT
public:
    PictureButton(Form *form, const QString &name, QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c);
    // The picture shown above the caption; a null image shows none.
    const QImage &Picture() const { return picture_; }
    void setPicture(const QImage &image);
    std::function<void()> Click;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QImage picture_;
};

} // namespace vx
