#include "optionbutton.h"

namespace vx {

OptionButton::OptionButton(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setAutoExclusive(true);
    // Click follows the button becoming selected, whatever selected it (an
    // assistive tool's toggle never emits clicked); the one turned off is quiet.
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
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
