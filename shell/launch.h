#pragma once
// The launch toggle of the main windows: every launch control opens its tool
// window when it is not showing and hides or unloads it when it is. One table
// names the tools, their item in the bar window's list and the closing mode of
// each main window.
#include "platform/forms/form.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace shell {

enum class CloseMode { Hide, Unload };
enum class Launcher { Form30, Form1, Form23 };

// How a launcher reaches one tool window through its program-wide instance.
// A tool that is not part of the program yet has no functions.
struct ToolWindow {
    QString name;
    std::function<bool()> isVisible; // loads the window when it is not loaded
    std::function<void()> show;      // modeless
    std::function<void()> hide;
    std::function<void()> unload;
    bool available() const { return static_cast<bool>(isVisible); }
};

template <class T>
ToolWindow toolEntry(const QString &name)
{
    return {name, [] { return vx::instance<T>().Visible(); }, [] { vx::instance<T>().Show(); },
            [] { vx::instance<T>().Hide(); }, [] { vx::unload<T>(); }};
}

inline ToolWindow notBuilt(const QString &name) { return {name, {}, {}, {}, {}}; }

// Shown when not visible (a hidden window shows again with its state);
// otherwise hidden or unloaded.
void toggle(const ToolWindow &window, CloseMode mode);

// The tools, in the order of the bar window's list.
enum class Tool { Form2, frmSum, Form40, Form15, Form3, Form20, FormVX3, Form4, Form5, Form8, Form10, Form11, Form9, frmAbout };

struct ToolRow {
    Tool id;
    ToolWindow window;
    QString listText; // item of Form30's list
    CloseMode onForm30;
    CloseMode onForm1;
    CloseMode onForm23;
    CloseMode modeFor(Launcher l) const;
};

const std::vector<ToolRow> &tools();
const ToolRow &tool(Tool id);
std::optional<Tool> toolByListText(const QString &text);

// One launch of a tool with the closing mode of the launcher.
void launch(Tool id, Launcher from);
// One launch with a closing mode of its own (a control that differs from its
// window's column).
void launch(Tool id, CloseMode mode);

// Tests: while set, every launch reports the tool and closing mode here
// instead of acting, so each control's wiring can be checked.
using LaunchProbe = std::function<void(Tool, CloseMode)>;
void setLaunchProbe(LaunchProbe probe);

// Asked before the program ends from a launcher: each tool registered for the
// end (suite/ending.h) that holds unsaved work asks the user; false when the
// program must keep running.
bool toolsAgreeToEnd();

// The variant the button-style windows open, from the variant the tools stored:
// "Graphic Rondix2"/"FormKind" equal to 1 the first image viewer, else the
// thumbnail browser; "Multimedia Rondix"/"FormKind" 1, 2 or 3 a player, else
// none. A stored text that is not a number counts as the default, 1.
Tool imageViewerVariant();
std::optional<Tool> mediaPlayerVariant();
void launchImageViewer(Launcher from);
void launchMediaPlayer(Launcher from);

} // namespace shell
