#pragma once
#include "control.h"

#include <QRadioButton>

#include <functional>

namespace vx {

class OptionButton : public Control<QRadioButton> {
    Q_OBJECT
public:
    OptionButton(Form *form, const QString &name, const QString &caption = QString(),
                 QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    bool Value() const { return isChecked(); }
    // Setting true selects it (others of its holder turn off) and runs Click.
    void setValue(bool on);
    std::function<void()> Click;
};

} // namespace vx
