#pragma once
// Conversions of stored text to numbers. A text that is not a number, or is out
// of range for the target, gives the fallback instead of failing.
#include <QString>
#include <optional>

namespace vx {

std::optional<double> toDouble(const QString &text);     // "1.05", " 2 ", "1e3"
std::optional<qint32> toLong(const QString &text);       // 32-bit, rounds like the classic CLng
std::optional<qint16> toInteger(const QString &text);    // 16-bit
std::optional<float> toSingle(const QString &text);

double toDouble(const QString &text, double fallback);
qint32 toLong(const QString &text, qint32 fallback);
qint16 toInteger(const QString &text, qint16 fallback);
float toSingle(const QString &text, float fallback);

// Decimal text as the classic Str$/CStr gives it for whole numbers and singles.
QString numText(double value);

} // namespace vx
