#pragma once
// The command-string player's settings, section "Multimedia Rondix": its look
// (written by Form7), place, folder and drive, and which player the launchers
// open. Spellings as users' settings files hold them.
#include "platform/forms/colors.h"

#include <QLatin1StringView>

namespace player::keys {

inline constexpr QLatin1StringView Section{"Multimedia Rondix"};

// The skin picture; by default skin1.jpg in the program's folder.
inline constexpr QLatin1StringView Skin{"Skin"};
inline constexpr QLatin1StringView SkinDefaultName{"skin1.jpg"};
// The display labels (Label3, Label5).
inline constexpr QLatin1StringView CrystalColor{"CrystalColor"};
inline constexpr qint32 CrystalColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView CrystalFontColor{"CrystalFontColor"};
inline constexpr qint32 CrystalFontColorDefault = vx::syscolor::WindowBackground;
// The lists, the position labels and the volume box.
inline constexpr QLatin1StringView BackColor{"BackColor"};
inline constexpr qint32 BackColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView FontColor{"FontColor"};
inline constexpr qint32 FontColorDefault = vx::syscolor::WindowBackground;
// The volume label.
inline constexpr QLatin1StringView VolColor{"VolColor"};
inline constexpr qint32 VolColorDefault = vx::syscolor::WindowBackground;
inline constexpr QLatin1StringView VolFontColor{"VolFontColor"};
inline constexpr qint32 VolFontColorDefault = vx::rgb(0, 0, 0);
// The progress bar's look: 0 blocks, 1 smooth.
inline constexpr QLatin1StringView ProgressKind{"ProgressKind"};
inline constexpr int ProgressKindDefault = 1;
inline constexpr QLatin1StringView FormLeft{"FormLeft"};
inline constexpr QLatin1StringView FormTop{"FormTop"};
inline constexpr QLatin1StringView PositionDefault{"1500"};
// The playlist's folder and drive.
inline constexpr QLatin1StringView Dir{"Dir"};
inline constexpr QLatin1StringView DirDefault{""};
inline constexpr QLatin1StringView Drive{"Drive"};
// The original's "c:" is the root here.
inline constexpr QLatin1StringView DriveDefault{"/"};
// Which player the launchers open: 1 this one, 2 the second, 3 the third.
inline constexpr QLatin1StringView FormKind{"FormKind"};
inline constexpr QLatin1StringView KindCommandPlayer{"1"};
inline constexpr QLatin1StringView KindSecondPlayer{"2"};
inline constexpr QLatin1StringView KindThirdPlayer{"3"};

} // namespace player::keys
