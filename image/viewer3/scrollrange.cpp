#include "scrollrange.h"

#include "keys.h"
#include "platform/core/errors.h"
#include "suite/settings.h"

#include <cmath>

namespace viewer3 {

void setRange(vx::ScrollBar &bar, qint64 max)
{
    if (max < -32768 || max > 32767)
        vx::raise(vx::err::Overflow);
    bar.setMin(0);
    bar.setMax(int(std::max<qint64>(0, max)));
}

void enableFor(vx::ScrollBar &bar, qint64 max)
{
    bar.setEnabled(max >= 0);
}

int storedSize(QLatin1StringView key)
{
    const QString text = suite::GetSetting(keys::Section, key, QString()).trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < -1e7 || v > 1e7)
        vx::raise(vx::err::TypeMismatch);
    return int(std::lround(v));
}

} // namespace viewer3
