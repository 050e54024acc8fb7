#include "folders.h"

#include "settings.h"

#include "platform/core/errors.h"
#include "platform/forms/filelists.h"

#include <QFileInfo>

namespace suite {

void restoreFolder(vx::DriveListBox &drive, vx::DirListBox &dir, const QString &section, const QString &dirKey,
                   const QString &dirDefault, const QString &driveKey, const QString &driveDefault)
{
    try {
        const QString stored = GetSetting(section, dirKey, dirDefault);
        if (vx::isQualifiedPath(stored)) {
            if (!QFileInfo(stored).isDir())
                return;
            drive.setDrive(vx::driveOfPath(stored));
            dir.setPath(stored);
        }
        // The default drive "c:" of the original is the root here; a stored
        // "c:" from another system fails like any missing drive.
        drive.setDrive(GetSetting(section, driveKey, driveDefault));
    } catch (const vx::RuntimeError &) {
    }
}

} // namespace suite
