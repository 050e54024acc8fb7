#pragma once
// The folder a tool's lists were left at, as its section stores it.
#include <QString>

namespace vx {
class DriveListBox;
class DirListBox;
} // namespace vx

namespace suite {

// Puts the stored folder (an absolute path; anything else, such as another
// system's "C:\Pictures", is no folder) into the folder list and its drive
// into the drive list, then the stored drive. A folder gone since leaves both
// lists where they are; a drive or folder that cannot be reached ends the
// step quietly.
void restoreFolder(vx::DriveListBox &drive, vx::DirListBox &dir, const QString &section, const QString &dirKey,
                   const QString &dirDefault, const QString &driveKey, const QString &driveDefault);

} // namespace suite
