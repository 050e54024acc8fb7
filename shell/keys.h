#pragma once
// The launchers' settings sections: "MainForm" (the button window and the
// launcher style), "MainForm0" (the bar window), "MainForm2" (the small
// window). Spellings as users' settings files hold them.
#include "suite/keys.h"

namespace shell::keys {

namespace MainForm {
inline constexpr QLatin1StringView Section{"MainForm"};
// The launcher style the program starts with.
inline constexpr QLatin1StringView Form{"Form"};
inline constexpr QLatin1StringView StyleBar{"Main0"};     // Form30
inline constexpr QLatin1StringView StyleButtons{"Main1"}; // Form1
inline constexpr QLatin1StringView StyleSmall{"Main2"};   // Form23
inline constexpr QLatin1StringView StyleMidi{"Main3"};    // the MIDI device chooser
inline constexpr QLatin1StringView FormDefault = StyleBar;
inline constexpr QLatin1StringView PositionDefault{"1500"};
inline constexpr QLatin1StringView FormColor{"FormColor"};
inline constexpr qint32 FormColorDefault = vx::syscolor::ActiveBorder;
inline constexpr QLatin1StringView TextColor{"TextColor"};
inline constexpr qint32 TextColorDefault = vx::syscolor::WindowBackground;
inline constexpr QLatin1StringView TextFontColor{"TextFontColor"};
inline constexpr qint32 TextFontColorDefault = vx::rgb(0, 0, 0);
inline constexpr QLatin1StringView LabelColor{"LabelColor"};
inline constexpr qint32 LabelColorDefault = vx::rgb(0, 0, 0);
} // namespace MainForm

namespace MainForm0 {
inline constexpr QLatin1StringView Section = suite::keys::sections::MainForm0;
inline constexpr QLatin1StringView PositionDefault{"0"};
inline constexpr QLatin1StringView FormColor{"FormColor"};
inline constexpr qint32 FormColorDefault = vx::syscolor::ActiveBorder;
inline constexpr QLatin1StringView ComboColor{"ComboColor"};
inline constexpr qint32 ComboColorDefault = vx::syscolor::WindowBackground;
inline constexpr QLatin1StringView ComboFontColor{"ComboFontColor"};
inline constexpr qint32 ComboFontColorDefault = vx::rgb(0, 0, 0);
// The list item chosen last: the first image viewer's item by default.
inline constexpr QLatin1StringView ComboText{"ComboText"};
inline constexpr QLatin1StringView ComboTextDefault{"Graphic Rondix"};
} // namespace MainForm0

namespace MainForm2 {
inline constexpr QLatin1StringView Section{"MainForm2"};
inline constexpr QLatin1StringView PositionDefault{"0"};
} // namespace MainForm2

} // namespace shell::keys
