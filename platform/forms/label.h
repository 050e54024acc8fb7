#pragma once
#include "control.h"

#include <QLabel>

#include <functional>

namespace vx {

// A label that shows a value (a status line, a time, "3/12") is read by
// assistive technology as that value: give it no fixed accessible name, only
// a description of what it shows. Its accessible name is always the shown
// text.
class Label : public Control<QLabel> {
    Q_OBJECT
public:
    Label(Form *form, const QString &name, const QString &caption = QString(),
          QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    // 0 transparent, 1 opaque.
    void setBackStyle(int style);
    std::function<void()> Click;
    std::function<void()> DblClick;

    // What the keyboard and assistive tools do: Space or "press" clicks,
    // Enter or "doubleClick" double-clicks (a label without handlers takes
    // no focus).
    void press();
    void doublePress();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    bool pressed_ = false;
};

} // namespace vx
