#pragma once
#include "control.h"

#include <QCheckBox>

#include <functional>

namespace vx {

class CheckBox : public Control<QCheckBox> {
    Q_OBJECT
public:
    CheckBox(Form *form, const QString &name, const QString &caption = QString(),
             QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    int Value() const; // 0 unchecked, 1 checked
    // Runs Click when the value changes.
    void setValue(int v);
    std::function<void()> Click;
};

} // namespace vx
