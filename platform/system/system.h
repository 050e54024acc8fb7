#pragma once
// Program folder, single instance, paths, and the desktop shell (opening
// documents and addresses, properties, help viewer). The shell goes through a
// driver that tests replace.
#include "watched.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace vx {

// Folder of the running program (tests point it elsewhere).
QString AppPath();
void setAppPath(const QString &folder);

// Joins a folder and a name with one "/" (never doubled at the root).
QString joinPath(const QString &folder, const QString &name);

// Single instance: takes the program-wide lock named `id`; true when another
// running copy holds it. A lock left by a copy that died is taken over.
bool PrevInstance(const QString &id);
void releaseInstanceLock();

class ShellDriver {
public:
    virtual ~ShellDriver() = default;
    // Opens a document, web address or mailto: with the desktop's handler
    // and returns at once; `done` tells as startWatched() does.
    virtual void open(const QString &target, Outcome done) = 0;
    // Asks the desktop's file manager for the properties of a file; `done`
    // tells whether one answered.
    virtual void showProperties(const QString &path, Outcome done) = 0;
    // Starts a program we may end later and returns its handle (> 0) at once;
    // `done` tells as startWatched() does. A program ended by stop() tells
    // nothing more.
    virtual qint64 start(const QString &program, const QStringList &args, Outcome done = {}) = 0;
    virtual void stop(qint64 handle) = 0;
    // Finds a program on the search path ("" when absent).
    virtual QString findProgram(const QString &name) = 0;
};

ShellDriver &shellDriver();
void setShellDriver(std::unique_ptr<ShellDriver> driver);
std::unique_ptr<ShellDriver> makeRealShellDriver();

// The outcome that, when told false, shows `message` (in the suite's style)
// and then tells `shown`.
Outcome sayWhenNot(const QString &message, Outcome shown = {});

// Opens a document, web address or mailto: with the desktop's handler without
// waiting for it; when nothing opens it, a message says so.
void ShellOpen(const QString &target, Outcome shown = {});

// Shows the contents of a compiled help file with a help viewer, else the
// desktop's handler, each tried in turn without waiting for it. A missing
// file gets a message at once; no program that shows it, one later. Returns
// true when a program was asked; `shown` tells whether one showed it.
bool HelpDisplayContents(const QString &helpFile, Outcome shown = {});
// Asks for a file's properties sheet without waiting; when none is shown, a
// message says so (after it, `shown` is told).
void ShowFileProperties(const QString &path, Outcome shown = {});
// Ends every help viewer started by HelpDisplayContents.
void HelpCloseAll();

} // namespace vx
