#pragma once
// The thumbnail browser's settings: section "Graphic Rondix2" (its colours,
// place, folder, slide interval, how pictures open, its picture window's place
// and zoom, and which image viewer the launchers open). Spellings as users'
// settings files hold them.
#include "suite/keys.h"

namespace browser::keys {

inline constexpr QLatin1StringView Section = suite::keys::sections::GraphicRondix2;
using suite::keys::FormColor;
inline constexpr qint32 FormColorDefault = vx::rgb(0, 0, 0);
// The lists' back colour.
using suite::keys::FileColor;
inline constexpr qint32 FileColorDefault = vx::syscolor::WindowBackground;
// The progress bar's colour and its back colour.
inline constexpr QLatin1StringView PicColor{"PicColor"};
inline constexpr qint32 PicColorDefault = 8454016;
inline constexpr QLatin1StringView PicBackColor{"PicBackColor"};
inline constexpr qint32 PicBackColorDefault = vx::rgb(0, 0, 0);
// The grid's and the thumbnails' back colour.
inline constexpr QLatin1StringView SumColor{"SumColor"};
inline constexpr qint32 SumColorDefault = vx::syscolor::ActiveBorder;
// The full-screen window's back colour.
inline constexpr QLatin1StringView FullColor{"FullColor"};
inline constexpr qint32 FullColorDefault = vx::rgb(0, 0, 0);
// Slide show interval in milliseconds.
inline constexpr QLatin1StringView Speed{"Speed"};
inline constexpr int SpeedDefault = 5000;
inline constexpr QLatin1StringView PositionDefault{"1500"};
// The folder and drive the lists showed last.
inline constexpr QLatin1StringView Dir{"Dir"};
inline constexpr QLatin1StringView DirDefault{""};
inline constexpr QLatin1StringView Drive{"Drive"};
// "c:" of the original: the root here.
inline constexpr QLatin1StringView DriveDefault{"/"};
// "0": pictures open full screen; any other number: in Form33.
inline constexpr QLatin1StringView Window{"Window"};
inline constexpr QLatin1StringView WindowDefault{"0"};
// 0: Form33 shows pictures at their natural size; else at the set ratio.
inline constexpr QLatin1StringView Zoom{"Zoom"};
inline constexpr QLatin1StringView ZoomDefault{"0"};
// Form33's place.
inline constexpr QLatin1StringView ZQV2FormLeft{"ZQV2FormLeft"};
inline constexpr QLatin1StringView ZQV2FormTop{"ZQV2FormTop"};
// Written at Form18's unload; nothing reads them.
using suite::keys::File2Color;
using suite::keys::FontBold;
using suite::keys::FontItalic;
using suite::keys::FontSize;
// suite::keys::FormKind: which viewer was open last.
inline constexpr QLatin1StringView KindViewer{"1"};  // Form2
inline constexpr QLatin1StringView KindBrowser{"2"}; // frmSum

} // namespace browser::keys
