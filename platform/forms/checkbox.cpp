#include "checkbox.h"

namespace vx {

CheckBox::CheckBox(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    // Every change is a click, whatever made it: the mouse, the space bar or an
    // assistive tool's toggle (which never emits clicked).
    connect(this, &QCheckBox::toggled, this, [this] { fire(Click); });
}

int CheckBox::Value() const { return isChecked() ? 1 : 0; }

void CheckBox::setValue(int v)
{
    const bool on = v != 0;
    if (on == isChecked())
        return;
    {
        const QSignalBlocker block(this);
        setChecked(on);
    }
    if (Click)
        Click();
}

} // namespace vx
