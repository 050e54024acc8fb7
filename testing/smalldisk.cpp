#include "smalldisk.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vxtest {

namespace {

QString lastError(const char *step) { return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno))); }

// A mount namespace of this thread's own, whose mounts reach no one else.
bool privateMounts(QString &why)
{
    static thread_local int state = 0; // 0 not tried, 1 done, -1 failed
    static thread_local QString failed;
    if (state == 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            failed = lastError("unshare");
            state = -1;
        } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            failed = lastError("mount --make-rprivate");
            state = -1;
        } else {
            state = 1;
        }
    }
    why = failed;
    return state == 1;
}

} // namespace

SmallDisk::SmallDisk(qint64 bytes)
{
    if (!dir_.isValid()) {
        why_ = QStringLiteral("no temporary folder");
        return;
    }
    if (!privateMounts(why_))
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        why_ = lastError("mount tmpfs");
        return;
    }
    mounted_ = true;
    if (::mkdir(QFile::encodeName(path()).constData(), 0777) != 0) {
        why_ = lastError("mkdir");
        mounted_ = false;
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool SmallDisk::leaveFree(qint64 left)
{
    if (!mounted_)
        return false;
    QFile filler(dir_.path() + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    struct statvfs vfs {};
    if (::statvfs(QFile::encodeName(path()).constData(), &vfs) != 0)
        return false;
    const qint64 free = qint64(vfs.f_bavail) * qint64(vfs.f_frsize);
    if (free < left)
        return false;
    const QByteArray block(int(free - left), 'f');
    return filler.write(block) == block.size() && filler.flush();
}

} // namespace vxtest
