#pragma once
// The third player's settings, section "Multimedia Rondix3": its look
// (written by Form12), skin, place, folder and drive. Spellings as users'
// settings files hold them.
#include "platform/forms/colors.h"
#include "suite/keys.h"

#include <QLatin1StringView>

namespace player3::keys {

inline constexpr QLatin1StringView Section = suite::keys::sections::MultimediaRondix3;

// The skin picture; by default skin1.jpg in the program's folder.
inline constexpr QLatin1StringView Skin{"Skin"};
inline constexpr QLatin1StringView SkinDefaultName{"skin1.jpg"};
// The lists, the position label and the two boxes.
inline constexpr QLatin1StringView BackColor{"BackColor"};
inline constexpr qint32 BackColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView FontColor{"FontColor"};
inline constexpr qint32 FontColorDefault = vx::syscolor::WindowBackground;
// The volume label.
inline constexpr QLatin1StringView VolColor{"VolColor"};
inline constexpr qint32 VolColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView VolFontColor{"VolFontColor"};
inline constexpr qint32 VolFontColorDefault = vx::syscolor::WindowBackground;
inline constexpr QLatin1StringView FormLeft = suite::keys::FormLeft;
inline constexpr QLatin1StringView FormLeftDefault{"1665"};
inline constexpr QLatin1StringView FormTop = suite::keys::FormTop;
inline constexpr QLatin1StringView FormTopDefault{"990"};
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

} // namespace player3::keys
