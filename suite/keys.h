#pragma once
// Settings every tool shares, and the names of the sections more than one tool
// touches. The spellings are those of the users' settings files: never change
// one ("BottonColor" included). A tool's own keys live in its keys.h.
#include "platform/forms/colors.h"

#include <QLatin1StringView>

namespace suite::keys {

// "AllForm": how every window of the suite behaves.
namespace AllForm {
inline constexpr QLatin1StringView Section{"AllForm"};
inline constexpr QLatin1StringView Pointer{"Pointer"};
inline constexpr QLatin1StringView PointerDefault{"99"}; // the window's own pointer
inline constexpr QLatin1StringView FormTemae{"FormTemae"};
inline constexpr QLatin1StringView FormTemaeDefault{"0"}; // 1: above normal windows
} // namespace AllForm

// Keys of the same meaning in many sections.
inline constexpr QLatin1StringView FormLeft{"FormLeft"};
inline constexpr QLatin1StringView FormTop{"FormTop"};
inline constexpr QLatin1StringView BottonColor{"BottonColor"}; // back colour of a window's buttons
inline constexpr qint32 BottonColorDefault = vx::syscolor::ActiveBorder;
// A picture tool's look: its back colour, its file list's back colour and
// font, and its count label's back colour.
inline constexpr QLatin1StringView FormColor{"FormColor"};
inline constexpr QLatin1StringView FileColor{"FileColor"};
inline constexpr QLatin1StringView File2Color{"File2Color"};
inline constexpr QLatin1StringView FontSize{"FontSize"};
inline constexpr QLatin1StringView FontBold{"FontBold"};
inline constexpr QLatin1StringView FontItalic{"FontItalic"};
// Which variant of a tool family was open last (the launchers open that one).
inline constexpr QLatin1StringView FormKind{"FormKind"};
inline constexpr QLatin1StringView FormKindDefault{"1"};

// Sections named by more than one tool: the launchers read the tools'
// variants and the repair wizard deletes whole sections. The owning tool's
// keys.h takes its section name from here.
namespace sections {
inline constexpr QLatin1StringView MainForm0{"MainForm0"};
inline constexpr QLatin1StringView GraphicRondix{"Graphic Rondix"};
inline constexpr QLatin1StringView GraphicRondix2{"Graphic Rondix2"};
inline constexpr QLatin1StringView MultimediaRondix{"Multimedia Rondix"};
inline constexpr QLatin1StringView MultimediaRondix2{"Multimedia Rondix2"};
inline constexpr QLatin1StringView MultimediaRondix3{"Multimedia Rondix3"};
inline constexpr QLatin1StringView SusieRondix{"Susie Rondix"};
inline constexpr QLatin1StringView Scrivolt{"Scrivolt"};
} // namespace sections

} // namespace suite::keys
