#include "convert.h"

#include <cmath>
#include <limits>

namespace vx {

std::optional<double> toDouble(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Banker's rounding, as the classic integer conversions do.
static double roundHalfEven(double v)
{
    return std::nearbyint(v);
}

std::optional<qint32> toLong(const QString &text)
{
    auto d = toDouble(text);
    if (!d)
        return std::nullopt;
    const double r = roundHalfEven(*d);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

std::optional<qint16> toInteger(const QString &text)
{
    auto d = toDouble(text);
    if (!d)
        return std::nullopt;
    const double r = roundHalfEven(*d);
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(r);
}

std::optional<float> toSingle(const QString &text)
{
    auto d = toDouble(text);
    if (!d || std::fabs(*d) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*d);
}

double toDouble(const QString &text, double fallback) { return toDouble(text).value_or(fallback); }
qint32 toLong(const QString &text, qint32 fallback) { return toLong(text).value_or(fallback); }
qint16 toInteger(const QString &text, qint16 fallback) { return toInteger(text).value_or(fallback); }
float toSingle(const QString &text, float fallback) { return toSingle(text).value_or(fallback); }

QString numText(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 7);
}

} // namespace vx
