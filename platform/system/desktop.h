#pragma once
// The desktop's own tools (system information, file manager, appearance and
// power settings, screen saver, shut-down prompt) and the freedesktop Trash and
// recently-used list. Programs start by argument vector, never through a
// shell, and nothing is ever powered off without the desktop's own prompt. One
// driver that tests replace.
#include "watched.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vx {

enum class DesktopTool { SystemAbout, FileManager, Appearance, Power, ScreenSaver, ShutdownPrompt };

class DesktopDriver {
public:
    virtual ~DesktopDriver() = default;
    // Starts the desktop's tool and returns at once; `done` tells whether one
    // started and did not fail (false when this desktop has none).
    virtual void launch(DesktopTool tool, Outcome done) = 0;
    // Empties the Trash of the home folder and of every mounted file system;
    // "" on success, else what failed.
    virtual QString emptyTrash() = 0;
    // Empties the recently-used list; "" on success, else what failed.
    virtual QString clearRecent() = 0;
    // Whether there is a recently-used list with an entry to clear.
    virtual bool hasRecent() { return true; }
};

DesktopDriver &desktopDriver();
// Replaces the driver (tests); nullptr restores the real one.
void setDesktopDriver(std::unique_ptr<DesktopDriver> driver);

// The argument vectors tried for a tool, in order, the current desktop's
// (XDG_CURRENT_DESKTOP) first.
std::vector<QStringList> desktopCandidates(DesktopTool tool, const QString &currentDesktop);

// The freedesktop Trash: `home` is $XDG_DATA_HOME/Trash, `mounts` the mount
// points whose .Trash-UID and .Trash/UID folders are emptied too. Links are
// removed, never followed. "" on success, else the first failure.
QString emptyTrashFolders(const QString &home, const QStringList &mounts);
// Rewrites the recently-used list as an empty one (atomically). A missing list
// is already empty. "" on success.
QString clearRecentlyUsed(const QString &xbelPath);
// Whether the list holds an entry. A list that cannot be read counts as one:
// clearing it then says what failed.
bool recentlyUsedHasEntries(const QString &xbelPath);

} // namespace vx
