#pragma once
// What the file chain controls read from the system: a folder's entries and
// the mount table, each read once for the handler that asks and read again at
// the next event (or at once for a refresh).
#include "filelists.h"

#include <QStringList>

namespace vx::detail {

// A folder's visible subfolders and files, each sorted by name.
struct Listing {
    QStringList folders;
    QStringList files;
};

// `fresh` reads again even within the same handler.
const Listing &listing(const QString &folder, bool fresh);
QList<MountedDrive> listDrives(bool fresh = false);

// Absolute, clean, no trailing "/" except the root; relative paths resolve against `base`.
QString folderPath(const QString &path, const QString &base);
// Raises 76 for a missing folder and 75 for one that cannot be listed.
void checkFolder(const QString &path);

} // namespace vx::detail
