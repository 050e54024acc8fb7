#pragma once
// Section "Susie Rondix": shared by the plug-in viewer Form15 and the third
// viewer Form40 and written by their settings windows. Spellings as users'
// settings files hold them.
#include "suite/keys.h"

namespace viewer3::keys {

inline constexpr QLatin1StringView Section = suite::keys::sections::SusieRondix;
inline constexpr QLatin1StringView PositionDefault{"1500"};
inline constexpr QLatin1StringView FormColor{"FormColor"};
inline constexpr qint32 FormColorDefault = 0;
inline constexpr QLatin1StringView FontSize{"FontSize"};
inline constexpr QLatin1StringView FontSizeDefault{"9"};
inline constexpr QLatin1StringView FontBold{"FontBold"};
inline constexpr QLatin1StringView FontItalic{"FontItalic"};
inline constexpr QLatin1StringView FlagDefault{"False"};
// The position label's back colour.
inline constexpr QLatin1StringView File2Color{"File2Color"};
// The three lists' back colour.
inline constexpr QLatin1StringView FileColor{"FileColor"};
inline constexpr qint32 ListColorDefault = vx::syscolor::WindowBackground;
inline constexpr QLatin1StringView PicColor{"PicColor"};
inline constexpr qint32 PicColorDefault = 0;
// Slide show interval in milliseconds.
inline constexpr QLatin1StringView Speed{"Speed"};
inline constexpr int SpeedDefault = 5000;
inline constexpr QLatin1StringView Dir{"Dir"};
inline constexpr QLatin1StringView DirDefault{""};
inline constexpr QLatin1StringView Drive{"Drive"};
inline constexpr QLatin1StringView DriveDefault{"/"};
// Form40's picture box sizes in pixels: at load, and of the last selection.
inline constexpr QLatin1StringView DefHeight{"DefHeight"};
inline constexpr QLatin1StringView DefWidth{"DefWidth"};
inline constexpr QLatin1StringView Height{"Height"};
inline constexpr QLatin1StringView Width{"Width"};

} // namespace viewer3::keys
