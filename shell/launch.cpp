#include "launch.h"

#include "suite/ending.h"
#include "suite/keys.h"
#include "suite/settings.h"
#include "platform/core/convert.h"
#include "archive/form9.h"
#include "archive/launcher.h"
#include "editor/form4.h"
#include "image/browser/frmsum.h"
#include "image/plugins/form15.h"
#include "image/viewer/form2.h"
#include "image/viewer/handover.h"
#include "image/viewer3/form40.h"
#include "media/cd/form8.h"
#include "media/player/form3.h"
#include "media/player/connect.h"
#include "media/player2/connect.h"
#include "media/player2/form20.h"
#include "media/player3/connect.h"
#include "media/player3/formvx3.h"
#include "shell/form1.h"
#include "shell/frmabout.h"
#include "applist/form5.h"
#include "sysinfo/form10.h"
#include "capture/form11.h"

#include <algorithm>

namespace shell {

namespace {
// The two image viewers' switch buttons hand over to each other.
const bool viewerSwitch = [] {
    viewer::setViewerOpener(viewer::Viewer::First, [] { vx::instance<Form2>().Show(); });
    viewer::setViewerOpener(viewer::Viewer::Browser, [] { vx::instance<frmSum>().Show(); });
    return true;
}();
// The archive window hands the launcher's handle to some archiver calls;
// reading it loads the launcher, hidden, when it is not loaded.
const bool g_archiveOwner = [] {
    archive::setLauncherHandle([] { return static_cast<uint32_t>(vx::instance<Form1>().winId()); });
    return true;
}();
} // namespace

void toggle(const ToolWindow &window, CloseMode mode)
{
    if (!window.available())
        return;
    if (!window.isVisible()) {
        window.show();
        return;
    }
    if (mode == CloseMode::Hide)
        window.hide();
    else
        window.unload();
}

CloseMode ToolRow::modeFor(Launcher l) const
{
    switch (l) {
    case Launcher::Form30: return onForm30;
    case Launcher::Form1: return onForm1;
    case Launcher::Form23: return onForm23;
    }
    return onForm30;
}

const std::vector<ToolRow> &tools()
{
    using enum CloseMode;
    // The players reach each other through the players' table, and the tag
    // editor and the MIDI chooser through hooks the second player sets.
    static const bool connected = (player::connect(), player2::connect(), player3::connect(), true);
    (void)connected;
    // A tool joins the program by giving its row toolEntry<Window>("Window").
    static const std::vector<ToolRow> rows = {
        {Tool::Form2, toolEntry<Form2>(QStringLiteral("Form2")), QStringLiteral("Graphic Rondix"), Hide, Hide, Hide},
        {Tool::frmSum, toolEntry<frmSum>(QStringLiteral("frmSum")), QStringLiteral("Graphic Rondix Ⅱ"), Hide, Hide, Hide},
        {Tool::Form40, toolEntry<Form40>(QStringLiteral("Form40")), QStringLiteral("Graphic Rondix Ⅲ"), Unload, Unload, Unload},
        {Tool::Form15, toolEntry<Form15>(QStringLiteral("Form15")), QStringLiteral("Susie Rondix"), Unload, Unload, Unload},
        {Tool::Form3, toolEntry<Form3>(QStringLiteral("Form3")), QStringLiteral("Multimedia Rondix"), Hide, Hide, Hide},
        {Tool::Form20, toolEntry<Form20>(QStringLiteral("Form20")), QStringLiteral("Multimedia Rondix Ⅱ"), Hide, Hide, Hide},
        {Tool::FormVX3, toolEntry<FormVX3>(QStringLiteral("FormVX3")), QStringLiteral("Multimedia Rondix Ⅲ"), Hide, Hide, Hide},
        {Tool::Form4, toolEntry<Form4>(QStringLiteral("Form4")), QStringLiteral("Scrivolt"), Hide, Hide, Hide},
        {Tool::Form5, toolEntry<Form5>(QStringLiteral("Form5")), QStringLiteral("Kinvoke"), Unload, Unload, Unload},
        {Tool::Form8, toolEntry<Form8>(QStringLiteral("Form8")), QStringLiteral("AudioCD Rondix"), Hide, Hide, Hide},
        {Tool::Form10, toolEntry<Form10>(QStringLiteral("Form10")), QStringLiteral("Probix"), Unload, Unload, Unload},
        {Tool::Form11, toolEntry<Form11>(QStringLiteral("Form11")), QStringLiteral("Snapvane"), Unload, Unload, Unload},
        {Tool::Form9, toolEntry<Form9>(QStringLiteral("Form9")), QStringLiteral("Cramlet＆Loosel"), Unload, Unload, Unload},
        {Tool::frmAbout, toolEntry<frmAbout>(QStringLiteral("frmAbout")), QStringLiteral("Version Rondix"), Unload,
         Unload, Unload},
    };
    return rows;
}

const ToolRow &tool(Tool id)
{
    const auto &rows = tools();
    return *std::find_if(rows.begin(), rows.end(), [id](const ToolRow &r) { return r.id == id; });
}

std::optional<Tool> toolByListText(const QString &text)
{
    for (const ToolRow &r : tools())
        if (r.listText == text)
            return r.id;
    return std::nullopt;
}

namespace {
LaunchProbe g_probe;
} // namespace

void setLaunchProbe(LaunchProbe probe) { g_probe = std::move(probe); }

void launch(Tool id, Launcher from) { launch(id, tool(id).modeFor(from)); }

void launch(Tool id, CloseMode mode)
{
    if (g_probe)
        g_probe(id, mode);
    else
        toggle(tool(id).window, mode);
}

// Every tool with unsaved work registers its own check (suite/ending.h).
bool toolsAgreeToEnd() { return suite::toolsAgreeToEnd(); }

namespace {
// A stored text that is not a number counts as the default, 1.
std::optional<double> storedKind(const QString &section)
{
    return suite::GetDouble(section, suite::keys::FormKind, suite::keys::FormKindDefault);
}
} // namespace

Tool imageViewerVariant()
{
    const auto kind = storedKind(suite::keys::sections::GraphicRondix2);
    return kind && *kind == 1 ? Tool::Form2 : Tool::frmSum;
}

std::optional<Tool> mediaPlayerVariant()
{
    const auto kind = storedKind(suite::keys::sections::MultimediaRondix);
    if (!kind)
        return std::nullopt;
    if (*kind == 1)
        return Tool::Form3;
    if (*kind == 2)
        return Tool::Form20;
    if (*kind == 3)
        return Tool::FormVX3;
    return std::nullopt;
}

void launchImageViewer(Launcher from) { launch(imageViewerVariant(), from); }

void launchMediaPlayer(Launcher from)
{
    if (const auto t = mediaPlayerVariant())
        launch(*t, from);
}

} // namespace shell
