#include "progressbar.h"

#include "platform/core/errors.h"

namespace vx {

ProgressBar::ProgressBar(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    setColorRoles({QPalette::Base}, {QPalette::Highlight});
    setTextVisible(false);
    setRange(0, 100);
    QProgressBar::setValue(0);
}

void ProgressBar::setMin(int v)
{
    if (v >= maximum())
        vx::raise(err::InvalidProperty);
    // A value outside the new range moves onto it (QProgressBar would reset
    // it to "no progress").
    const int keep = std::max(value(), v);
    setMinimum(v);
    QProgressBar::setValue(keep);
}

void ProgressBar::setMax(int v)
{
    if (v <= minimum())
        vx::raise(err::InvalidProperty);
    const int keep = std::min(value(), v);
    setMaximum(v);
    QProgressBar::setValue(keep);
}

void ProgressBar::setValue(int v)
{
    if (v < minimum() || v > maximum())
        vx::raise(err::InvalidProperty);
    QProgressBar::setValue(v);
}

} // namespace vx
