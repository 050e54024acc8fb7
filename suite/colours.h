#pragma once
// What the settings windows do with colours: one dialog per button, whose
// cancel applies nothing, and one colour for a row of controls.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/registry.h"

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

// A colour button of a settings window: the chosen colour goes at once to the
// back (fore) colour of the named controls of window `W`.
template <class W, class... C>
void chooseBack(vx::CommonDialog &dialog, C W::*...controls)
{
    chooseColour(dialog, [=](qint32 c) {
        W &w = vx::instance<W>();
        setBack(c, w.*controls...);
    });
}

template <class W, class... C>
void chooseFore(vx::CommonDialog &dialog, C W::*...controls)
{
    chooseColour(dialog, [=](qint32 c) {
        W &w = vx::instance<W>();
        setFore(c, w.*controls...);
    });
}

} // namespace suite
