#include "mouse.h"

namespace vx {

int mouseButtonValue(Qt::MouseButtons b)
{
    int v = 0;
    if (b & Qt::LeftButton)
        v |= 1;
    if (b & Qt::RightButton)
        v |= 2;
    if (b & Qt::MiddleButton)
        v |= 4;
    return v;
}

int shiftValue(Qt::KeyboardModifiers m)
{
    int v = 0;
    if (m & Qt::ShiftModifier)
        v |= 1;
    if (m & Qt::ControlModifier)
        v |= 2;
    if (m & Qt::AltModifier)
        v |= 4;
    return v;
}

} // namespace vx
