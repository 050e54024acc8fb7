#include "filelists.h"

#include "folderreads.h"

#include "platform/core/errors.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vx {

using detail::checkFolder;
using detail::folderPath;

using detail::listDrives;
using detail::listing;

namespace {

constexpr int kPathRole = Qt::UserRole;

bool contains(const QString &mount, const QString &path)
{
    if (mount == QLatin1String("/"))
        return true;
    return path == mount || path.startsWith(mount + QLatin1Char('/'));
}

QString deepestMount(const QList<MountedDrive> &drives, const QString &path)
{
    QString best = QStringLiteral("/");
    for (const MountedDrive &d : drives)
        if (contains(d.mount, path) && d.mount.size() > best.size())
            best = d.mount;
    return best;
}

QString driveText(const MountedDrive &d)
{
    return d.label.isEmpty() ? d.mount : d.mount + QStringLiteral("  (") + d.label + QLatin1Char(')');
}


} // namespace

QString driveOfPath(const QString &path)
{
    if (!isQualifiedPath(path))
        return QStringLiteral("/");
    return deepestMount(listDrives(), QDir::cleanPath(path));
}

bool isQualifiedPath(const QString &path)
{
    return path.startsWith(QLatin1Char('/'));
}

// --- DriveListBox ---------------------------------------------------------------

DriveListBox::DriveListBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    // A closed drop-down list paints with the button roles.
    setColorRoles({QPalette::Base, QPalette::Button}, {QPalette::Text, QPalette::ButtonText});
    setEditable(false);
    drive_ = driveOfPath(QDir::currentPath());
    fill(false);
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString mount = itemData(index, kPathRole).toString();
        if (mount.isEmpty() || mount == drive_)
            return;
        drive_ = mount;
        fire(Change);
    });
}

QString DriveListBox::Drive() const
{
    return drive_;
}

QString DriveListBox::List(int index) const
{
    return itemText(index);
}

void DriveListBox::Refresh()
{
    fill(true);
}

void DriveListBox::fill(bool fresh)
{
    const QSignalBlocker block(this);
    clear();
    const QList<MountedDrive> drives = listDrives(fresh);
    int current = 0;
    for (const MountedDrive &d : drives) {
        if (d.mount == drive_)
            current = count();
        addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), driveText(d), d.mount);
    }
    // A drive that went away falls back to the root.
    drive_ = itemData(current, kPathRole).toString();
    setCurrentIndex(current);
}

void DriveListBox::setDrive(const QString &drive)
{
    if (!isQualifiedPath(drive))
        vx::raise(err::DeviceUnavailable, drive);
    fill(false);
    QList<MountedDrive> drives;
    for (int i = 0; i < count(); ++i)
        drives.append({itemData(i, kPathRole).toString(), QString()});
    const QString mount = deepestMount(drives, QDir::cleanPath(drive));
    if (mount == drive_)
        return;
    drive_ = mount;
    {
        const QSignalBlocker block(this);
        setCurrentIndex(findData(mount, kPathRole));
    }
    if (Change)
        Change();
}

} // namespace vx
