#pragma once
// Classic signed 32-bit colour values: 0x00BBGGRR, or 0x80000000 + a system
// colour index that maps onto the desktop palette.
#include <QColor>

namespace vx {

QColor toQColor(qint32 value);
qint32 fromQColor(const QColor &c);
inline constexpr qint32 rgb(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

namespace syscolor {
inline constexpr qint32 WindowBackground = static_cast<qint32>(0x80000005u);
inline constexpr qint32 WindowText = static_cast<qint32>(0x80000008u);
inline constexpr qint32 ActiveBorder = static_cast<qint32>(0x8000000Au);
inline constexpr qint32 ButtonFace = static_cast<qint32>(0x8000000Fu);
inline constexpr qint32 ButtonText = static_cast<qint32>(0x80000012u);
} // namespace syscolor

} // namespace vx
