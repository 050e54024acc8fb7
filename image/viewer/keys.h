#pragma once
// The first image viewer's settings: section "Graphic Rondix" (its colours,
// place, folder, slide show and zoom; Form32's place) and section
// "Graphic Rondix2" (which viewer the launchers open). Spellings as users'
// settings files hold them.
#include "suite/keys.h"

namespace viewer::keys {

namespace GraphicRondix {
inline constexpr QLatin1StringView Section = suite::keys::sections::GraphicRondix;
inline constexpr QLatin1StringView PositionDefault{"1500"};
using suite::keys::FormColor;
inline constexpr qint32 FormColorDefault = vx::rgb(0, 0, 0);
// The file lists' and the position label's back colour.
using suite::keys::FileColor;
inline constexpr qint32 FileColorDefault = vx::syscolor::WindowBackground;
using suite::keys::File2Color;
using suite::keys::FontBold;
using suite::keys::FontItalic;
using suite::keys::FontSize;
// Slide show interval in milliseconds.
inline constexpr QLatin1StringView Speed{"Speed"};
inline constexpr int SpeedDefault = 5000;
inline constexpr QLatin1StringView ZoomNumber{"ZoomNumber"};
// 0 shows pictures at their natural size; 1 at the set ratio.
inline constexpr QLatin1StringView Zoom{"Zoom"};
inline constexpr QLatin1StringView ZoomDefault{"0"};
// The folder and drive the lists showed last.
inline constexpr QLatin1StringView Dir{"Dir"};
inline constexpr QLatin1StringView DirDefault{""};
inline constexpr QLatin1StringView Drive{"Drive"};
inline constexpr QLatin1StringView DriveDefault{"/"};
// Form32's place.
inline constexpr QLatin1StringView ZQVFormLeft{"ZQVFormLeft"};
inline constexpr QLatin1StringView ZQVFormTop{"ZQVFormTop"};
inline constexpr QLatin1StringView ZQVPositionDefault{"1500"};
} // namespace GraphicRondix

namespace GraphicRondix2 {
inline constexpr QLatin1StringView Section = suite::keys::sections::GraphicRondix2;
// suite::keys::FormKind: which viewer was open last.
inline constexpr QLatin1StringView KindViewer{"1"};  // Form2
inline constexpr QLatin1StringView KindBrowser{"2"}; // the thumbnail browser
} // namespace GraphicRondix2

} // namespace viewer::keys
