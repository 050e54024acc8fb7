#pragma once
// Scroll ranges of the plug-in viewers: a picture dimension minus the box's,
// held in 16 bits. The bar cannot hold a negative maximum: it keeps 0 and the
// caller disables it.
#include "platform/forms/scrollbar.h"

namespace viewer3 {

// Raises 6 (overflow) when `max` does not fit 16 bits; the bar is unchanged then.
void setRange(vx::ScrollBar &bar, qint64 max);
// Enabled when the maximum is not negative.
void enableFor(vx::ScrollBar &bar, qint64 max);
// A stored size in pixels; raises 13 when it is missing or not a number.
int storedSize(QLatin1StringView key);

} // namespace viewer3
