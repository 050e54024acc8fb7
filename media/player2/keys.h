#pragma once
// The second player's settings, section "Multimedia Rondix2": its look
// (written by Form21), play speed, skin, place, folder and drive. Spellings as
// users' settings files hold them.
#include "platform/forms/colors.h"
#include "suite/keys.h"

#include <QLatin1StringView>

namespace player2::keys {

inline constexpr QLatin1StringView Section = suite::keys::sections::MultimediaRondix2;

// The skin picture; by default skin1.jpg in the program's folder.
inline constexpr QLatin1StringView Skin{"Skin"};
inline constexpr QLatin1StringView SkinDefaultName{"skin1.jpg"};
// The lists and the position label.
inline constexpr QLatin1StringView BackColor{"BackColor"};
inline constexpr qint32 BackColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView FontColor{"FontColor"};
inline constexpr qint32 FontColorDefault = vx::syscolor::WindowBackground;
// The volume label.
inline constexpr QLatin1StringView VolColor{"VolColor"};
inline constexpr qint32 VolColorDefault = vx::syscolor::WindowBackground;
inline constexpr QLatin1StringView VolFontColor{"VolFontColor"};
inline constexpr qint32 VolFontColorDefault = vx::rgb(0, 0, 0);
// The file-information box.
inline constexpr QLatin1StringView FileInfoBoxColor{"FileInfoBoxColor"};
inline constexpr qint32 FileInfoBoxColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView FileInfoBoxFontColor{"FileInfoBoxFontColor"};
inline constexpr qint32 FileInfoBoxFontColorDefault = vx::syscolor::WindowBackground;
// The play speed box's text.
inline constexpr QLatin1StringView PlaySpeed{"PlaySpeed"};
inline constexpr QLatin1StringView PlaySpeedDefault{"1"};
inline constexpr QLatin1StringView FormLeft = suite::keys::FormLeft;
inline constexpr QLatin1StringView FormTop = suite::keys::FormTop;
inline constexpr QLatin1StringView PositionDefault{"1500"};
// The playlist's folder and drive ("Dir" is also written by the archive window).
inline constexpr QLatin1StringView Dir{"Dir"};
inline constexpr QLatin1StringView DirDefault{""};
inline constexpr QLatin1StringView Drive{"Drive"};
// The original's "c:" is the root here.
inline constexpr QLatin1StringView DriveDefault{"/"};

// Which player the launchers open ("Multimedia Rondix"/"FormKind").
inline constexpr QLatin1StringView KindSection = suite::keys::sections::MultimediaRondix;
inline constexpr QLatin1StringView FormKind = suite::keys::FormKind;
inline constexpr QLatin1StringView KindFirstPlayer{"1"};
inline constexpr QLatin1StringView KindSecondPlayer{"2"};
inline constexpr QLatin1StringView KindThirdPlayer{"3"};

} // namespace player2::keys
