#pragma once
// The CD player's settings, section "AudioCD Rondix": its look, written by
// Form16 and read by Form8 at load. Spellings as users' settings files hold them.
#include "platform/forms/colors.h"

#include <QLatin1StringView>

namespace cdplayer::keys {

inline constexpr QLatin1StringView Section{"AudioCD Rondix"};

// The skin picture; by default skin1.jpg in the program's folder.
inline constexpr QLatin1StringView Skin{"Skin"};
inline constexpr QLatin1StringView SkinDefaultName{"skin1.jpg"};
// The volume label.
inline constexpr QLatin1StringView VolColor{"VolColor"};
inline constexpr qint32 VolColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView VolFontColor{"VolFontColor"};
inline constexpr qint32 VolFontColorDefault = vx::syscolor::WindowBackground;
// The picture lists, their position label and the volume box.
inline constexpr QLatin1StringView BackColor{"BackColor"};
inline constexpr qint32 BackColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView FontColor{"FontColor"};
inline constexpr qint32 FontColorDefault = vx::syscolor::WindowBackground;

} // namespace cdplayer::keys
