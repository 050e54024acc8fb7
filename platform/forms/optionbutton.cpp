#include "optionbutton.h"

namespace vx {

OptionButton::OptionButton(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setAutoExclusive(true);
    connect(this, &QRadioButton::clicked, this, [this] {
        fire(Click);
    });
}

void OptionButton::setValue(bool on)
{
    {
        const QSignalBlocker block(this);
        if (!on && autoExclusive()) {
            setAutoExclusive(false);
            setChecked(false);
            setAutoExclusive(true);
        } else {
            setChecked(on);
        }
    }
    if (on && Click)
        Click();
}

} // namespace vx
