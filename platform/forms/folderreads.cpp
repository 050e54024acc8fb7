#include "folderreads.h"

#include "platform/core/errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace vx {

using detail::Listing;

namespace {

// Kernel and runtime file systems that hold no user files.
bool isPseudoFileSystem(const QByteArray &type)
{
    static const QList<QByteArray> pseudo = {
        "proc",     "sysfs",   "cgroup",     "cgroup2",     "tmpfs",    "devtmpfs", "devpts",
        "mqueue",   "debugfs", "tracefs",    "securityfs",  "pstore",   "bpf",      "configfs",
        "fusectl",  "autofs",  "hugetlbfs",  "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",
        "ramfs",    "overlay", "squashfs",   "fuse.portal", "fuse.gvfsd-fuse", "nfsd", "selinuxfs"};
    return pseudo.contains(type);
}

bool underSystemTree(const QString &mount)
{
    // Removable media mounted by udisks under /run/media are real drives.
    if (mount.startsWith(QLatin1String("/run/media/")))
        return false;
    for (const char *root : {"/sys", "/proc", "/run", "/dev", "/snap", "/boot/efi"})
        if (mount == QLatin1String(root) || mount.startsWith(QLatin1String(root) + QLatin1Char('/')))
            return true;
    return false;
}

QList<MountedDrive> &driveOverride()
{
    static QList<MountedDrive> drives;
    return drives;
}

ListReads &reads()
{
    static ListReads counts;
    return counts;
}

// What the lists read serves the rest of the handler that asked: the folder
// and file lists of one change share one read of the folder, and the drive
// list, the path checks and the refresh share one read of the mount table.
// The next event reads the disk again.
template <typename T>
class TurnCache {
public:
    const T *find(const QString &key) const { return valid_ && key_ == key ? &value_ : nullptr; }
    const T &keep(const QString &key, T value)
    {
        key_ = key;
        value_ = std::move(value);
        if (QCoreApplication *app = QCoreApplication::instance()) {
            valid_ = true;
            if (!pending_) {
                pending_ = true;
                QMetaObject::invokeMethod(
                    app,
                    [this] {
                        valid_ = false;
                        pending_ = false;
                    },
                    Qt::QueuedConnection);
            }
        }
        return value_;
    }
    void forget() { valid_ = false; }

private:
    QString key_;
    T value_{};
    bool valid_ = false;
    bool pending_ = false;
};

QList<MountedDrive> readDrives()
{
    ++reads().mountTable;
    QList<MountedDrive> drives;
    MountedDrive root{QStringLiteral("/"), QString()};
    for (const QStorageInfo &s : QStorageInfo::mountedVolumes()) {
        if (!s.isValid())
            continue;
        const QString mount = s.rootPath();
        QString label = s.name();
        if (label.isEmpty())
            label = QFileInfo(QString::fromLocal8Bit(s.device())).fileName();
        if (label.isEmpty())
            label = QString::fromLatin1(s.fileSystemType());
        if (mount == QLatin1String("/")) {
            root.label = label;
            continue;
        }
        if (!s.isReady() || isPseudoFileSystem(s.fileSystemType()) || underSystemTree(mount))
            continue;
        // Bind-mounted single files (containers) are not drives.
        if (!QFileInfo(mount).isDir())
            continue;
        auto same =
            std::find_if(drives.begin(), drives.end(), [&](const MountedDrive &d) { return d.mount == mount; });
        if (same != drives.end())
            same->label = label; // the last mount over a point is the visible one
        else
            drives.append({mount, label});
    }
    std::sort(drives.begin(), drives.end(),
              [](const MountedDrive &a, const MountedDrive &b) { return a.mount < b.mount; });
    drives.prepend(root);
    return drives;
}

TurnCache<QList<MountedDrive>> &driveCache()
{
    static TurnCache<QList<MountedDrive>> cache;
    return cache;
}

} // namespace

namespace detail {

QList<MountedDrive> listDrives(bool fresh)
{
    if (!driveOverride().isEmpty())
        return driveOverride();
    if (fresh)
        driveCache().forget();
    if (const auto *drives = driveCache().find(QString()))
        return *drives;
    return driveCache().keep(QString(), readDrives());
}

} // namespace detail

namespace {

void sortNames(QStringList &names)
{
    // Folded once, not at every comparison.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (QString &n : names) {
        QString folded = n.toCaseFolded();
        keyed.emplace_back(std::move(folded), std::move(n));
    }
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto &k : keyed)
        names.append(std::move(k.second));
}

TurnCache<Listing> &listingCache()
{
    static TurnCache<Listing> cache;
    return cache;
}

} // namespace

namespace detail {

const Listing &listing(const QString &folder, bool fresh)
{
    if (fresh)
        listingCache().forget();
    if (const Listing *l = listingCache().find(folder))
        return *l;
    reads().folders.append(folder);
    Listing l;
    // The entry types readdir gives: no stat for plain files and folders.
    // Links are followed; FIFOs, sockets, devices and dangling links are left
    // out, and so are hidden entries.
    DIR *d = ::opendir(QFile::encodeName(folder).constData());
    if (d) {
        const int fd = ::dirfd(d);
        while (const dirent *e = ::readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            bool isDir = e->d_type == DT_DIR;
            bool isFile = e->d_type == DT_REG;
            if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(fd, e->d_name, &st, 0) != 0)
                    continue;
                isDir = S_ISDIR(st.st_mode);
                isFile = S_ISREG(st.st_mode);
            }
            if (isDir || isFile)
                (isDir ? l.folders : l.files).append(QFile::decodeName(e->d_name));
        }
        ::closedir(d);
    }
    sortNames(l.folders);
    sortNames(l.files);
    return listingCache().keep(folder, std::move(l));
}

} // namespace detail

QList<MountedDrive> mountedDrives()
{
    return detail::listDrives();
}

ListReads &listReads()
{
    return reads();
}

void setMountedDrivesOverride(const QList<MountedDrive> &drives)
{
    driveOverride() = drives;
}

} // namespace vx

namespace vx::detail {

QString folderPath(const QString &path, const QString &base)
{
    QString p = QDir::cleanPath(QDir(base).absoluteFilePath(path));
    if (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

void checkFolder(const QString &path)
{
    if (path.isEmpty())
        vx::raise(err::PathNotFound);
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isDir())
        vx::raise(err::PathNotFound, path);
    if (!fi.isReadable() || !fi.isExecutable())
        vx::raise(err::PathFileAccess, path);
}

} // namespace vx::detail
