#pragma once
// The up-down (spin) control of the common controls, made at run time and
// attached to a buddy text box: it sits inside the buddy's right edge and
// narrows the buddy by its own width; its arrows step the position within the
// range and write it into the buddy as a whole number, with a thousands
// separator from 1000 on (the buddy's Change runs as if typed).
#include "control.h"

#include <QPointer>

class QToolButton;

namespace vx {

class TextBox;

class UpDown : public Control<QWidget> {
    Q_OBJECT
public:
    UpDown(Form *form, const QString &name, TextBox &buddy);
    int Min() const { return lower_; }
    int Max() const { return upper_; }
    int Value() const { return pos_; }
    // Clamped to the range; written into the buddy.
    void setValue(int pos);
    void setRange(int lower, int upper);
    TextBox *buddy() const { return buddy_; }
    // One step up (+1) or down (-1) from the buddy's number (else the position).
    void step(int delta);
    // "6,553": the position as the buddy shows it.
    static QString buddyText(int pos);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    QPointer<TextBox> buddy_;
    QToolButton *up_;
    QToolButton *down_;
    int lower_ = 0;
    int upper_ = 100;
    int pos_ = 0;
};

// Width of an up-down control in twips.
inline constexpr double kUpDownWidthTwips = 180;

// Makes an up-down control attached to `buddy` with its range and position
// (the position is written into the buddy). `id` names the control.
UpDown *CreateUpDownControl(Form &parent, int id, TextBox &buddy, int upper, int lower, int pos);
// Destroys the control (nullptr is ignored); the buddy keeps its width.
void DestroyWindow(QPointer<UpDown> &control);

} // namespace vx
