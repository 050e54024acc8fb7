#pragma once
// What the settings windows do with colours: one dialog per button, whose
// cancel applies nothing, and one colour for a row of controls.
#include "platform/dialogs/dialogs.h"

#include <functional>

namespace suite {

inline void chooseColour(vx::CommonDialog &dialog, const std::function<void(qint32)> &apply)
{
    if (dialog.ShowColor())
        apply(dialog.Color);
}

template <class... C>
void setBack(qint32 colour, C &...controls)
{
    (controls.setBackColor(colour), ...);
}

template <class... C>
void setFore(qint32 colour, C &...controls)
{
    (controls.setForeColor(colour), ...);
}

} // namespace suite
