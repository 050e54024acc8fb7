#pragma once
// Binds the entry points of image plug-ins. A plug-in file is looked up by its
// bare name through the dynamic linker's search (the program's run path,
// LD_LIBRARY_PATH, the system's folders), loaded on first use and never
// unloaded: the pictures it handed over may outlive any one call.
#include <QString>

namespace vx {

// The entry point `entry` of plug-in file `fileName`, or null when the file or
// the entry point is not there (a file added later is found on a later call).
void *BindPluginEntry(const QString &fileName, const char *entry);

// Tests: look plug-ins up in this folder only ("" restores the linker's search).
void setPluginFolder(const QString &folder);

} // namespace vx
