#include "glimpse.h"

#include <linux/magic.h>
#include <sys/vfs.h>

namespace ID3Module::glimpse {

namespace {

struct Kept {
    QString path;
    QByteArray native;
    struct stat st {};
    struct timespec at {};
    Bytes bytes;
};

Kept &kept()
{
    thread_local Kept k;
    return k;
}

struct timespec monotonic()
{
    struct timespec t {};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return t;
}

qint64 nanosecondsSince(const struct timespec &t)
{
    const struct timespec n = monotonic();
    return qint64(n.tv_sec - t.tv_sec) * 1000000000 + (n.tv_nsec - t.tv_nsec);
}

bool before(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

bool equal(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// File systems whose change time moves with every change made after the clock
// passed it: local ones stamping to the nanosecond. FAT keeps two-second or
// 10 ms stamps, an ext4 of 128-byte inodes whole seconds (its nanoseconds are
// always 0) and network file systems the server's: there a change could leave
// the time as it was.
bool exactTimes(int fd, const struct stat &st)
{
    if (st.st_ctim.tv_nsec == 0)
        return false;
    // The answer for a device holds for a second: a folder of files asks once.
    struct Known {
        dev_t dev = 0;
        struct timespec at {};
        bool exact = false;
        bool valid = false;
    };
    thread_local Known known;
    if (known.valid && known.dev == st.st_dev && nanosecondsSince(known.at) < 1000000000)
        return known.exact;
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return false;
    bool exact = false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC: // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
        exact = true;
        break;
    default:
        break;
    }
    known = {st.st_dev, monotonic(), exact, true};
    return exact;
}

} // namespace

struct timespec now()
{
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &t);
    return t;
}

void keep(const QString &path, const QByteArray &native, int fd, const struct stat &st,
          const struct timespec &openedAfter, Bytes bytes)
{
    Kept &k = kept();
    k.path.clear();
    if (path.isEmpty() || !before(st.st_ctim, openedAfter) || !exactTimes(fd, st))
        return;
    k.native = native;
    k.st = st;
    k.at = monotonic();
    k.bytes = std::move(bytes);
    k.path = path;
}

const Bytes *fresh(const QString &path)
{
    Kept &k = kept();
    if (k.path.isEmpty() || k.path != path)
        return nullptr;
    struct stat st;
    if (nanosecondsSince(k.at) > 1000000000 || ::stat(k.native.constData(), &st) != 0 || st.st_dev != k.st.st_dev ||
        st.st_ino != k.st.st_ino || st.st_size != k.st.st_size || st.st_mode != k.st.st_mode ||
        !equal(st.st_mtim, k.st.st_mtim) || !equal(st.st_ctim, k.st.st_ctim)) {
        k.path.clear();
        return nullptr;
    }
    return &k.bytes;
}

} // namespace ID3Module::glimpse
