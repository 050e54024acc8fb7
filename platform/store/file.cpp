#include "file.h"

#include "platform/core/errors.h"
#include "platform/core/replacecore.h"
#include "platform/core/sidename.h"
#include "platform/core/syserror.h"
#include "platform/core/userfile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::store::detail {

namespace {
// A dotfile manager's symlink stays a symlink: replace what it points to,
// following a chain of links (relative ones from their own folder).
QByteArray writeTarget(const QByteArray &path)
{
    QByteArray target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        char buf[4096];
        const ssize_t n = ::readlink(target.constData(), buf, sizeof buf);
        if (n <= 0 || size_t(n) >= sizeof buf)
            return target;
        const QByteArray link(buf, n);
        target = link.startsWith('/') ? link : dirOf(target) + '/' + link;
    }
    return target;
}

} // namespace

[[noreturn]] void failErrno(int e, const QString &path)
{
    int number;
    switch (e) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: number = err::PermissionDenied; break;
    case ENOSPC:
    case EDQUOT: number = err::DiskFull; break;
    case EIO: number = err::DeviceIO; break;
    default:
        // The number alone would not say what went wrong (the system's own
        // text would say it in English).
        raise(err::PathFileAccess, path + QStringLiteral("：") + systemReason(e));
    }
    raise(number, path);
}

[[noreturn]] void failMissing(const QString &what)
{
    raise(err::InvalidCall, what);
}

QByteArray native(const QString &path)
{
    return path.toUtf8();
}

void makeDir(const QString &dir)
{
    const QByteArray d = native(dir);
    struct stat st;
    if (::stat(d.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            failErrno(ENOTDIR, dir);
        return;
    }
    for (qsizetype i = d.indexOf('/', 1); i != -1; i = d.indexOf('/', i + 1)) {
        const QByteArray part = d.left(i);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            failErrno(errno, QString::fromUtf8(part));
    }
    if (::mkdir(d.constData(), 0700) != 0 && errno != EEXIST)
        failErrno(errno, dir);
    if (::stat(d.constData(), &st) != 0)
        failErrno(errno, dir);
    if (!S_ISDIR(st.st_mode))
        failErrno(ENOTDIR, dir);
}

int readFile(const QByteArray &path, QByteArray &out, bool &exists)
{
    out.clear();
    exists = true;
    // The user-file steps: a FIFO or /dev/zero in its place never blocks nor
    // fills memory, and a store that grows past the bound while read is refused.
    std::string data;
    int error = 0;
    switch (userfile::readAll(path.constData(), kMaxStoreBytes, data, &error)) {
    case userfile::Status::Ok:
        out = QByteArray(data.data(), qsizetype(data.size()));
        return 0;
    case userfile::Status::Missing:
        if (error == ENOENT || error == ENOTDIR) {
            exists = false;
            return 0;
        }
        return error ? error : ENOENT;
    case userfile::Status::Denied:
        return error ? error : EACCES;
    case userfile::Status::NotRegular:
        return kNotRegular;
    case userfile::Status::TooLarge:
        return kTooLarge;
    case userfile::Status::Failed:
        break;
    }
    return error ? error : EIO;
}

void checkReplaceable(const QByteArray &path, const QString &name)
{
    const QByteArray target = writeTarget(path);
    struct stat st;
    if (::stat(target.constData(), &st) != 0)
        return; // nothing there yet: a new file protects nothing
    if (S_ISREG(st.st_mode) && st.st_nlink > 1)
        raise(err::PermissionDenied,
              name + QStringLiteral("：この設定ファイルにはほかの名前（ハードリンク）もあるため、書き換えませんでした。"
                                    "書き換えると、ほかの名前には古い設定が残ります。"));
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        failErrno(errno, name);
}

[[noreturn]] void failRead(int problem, const QString &path)
{
    if (problem == kNotRegular)
        raise(err::PathFileAccess, path + QStringLiteral("：通常のファイルではありません。"));
    if (problem == kTooLarge)
        raise(err::PathFileAccess, path + QStringLiteral("：設定ファイルが大きすぎます（16 MB を超えています）。"));
    failErrno(problem, path);
}

// Best effort: the rename or unlink it follows has taken effect already, so a
// failure here must not report the change as failed.
void syncDir(const QByteArray &dir)
{
    Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        (void)::fsync(fd.get());
}

QByteArray dirOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

namespace {
// Our temporary file beside `target` is ".<name>.tmp.<pid>", the name cut so
// that the whole stays within the file system's 255 bytes (a link may lead
// to a file of any name).
constexpr std::size_t kPidBytes = 10;
QByteArray tempPrefix(const QByteArray &target)
{
    const QByteArray base = target.mid(target.lastIndexOf('/') + 1);
    const std::string p = sidename::prefix(std::string_view(base.constData(), size_t(base.size())), "tmp.", kPidBytes);
    return QByteArray(p.data(), qsizetype(p.size()));
}
} // namespace

void replaceFile(const QByteArray &path, const QByteArray &data)
{
    const QByteArray target = writeTarget(path);
    const QByteArray tmp = dirOf(target) + '/' + tempPrefix(target) + QByteArray::number(::getpid());
    const QString tmpName = QString::fromUtf8(tmp);

    ::unlink(tmp.constData());
    Fd fd(::open(tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid())
        failErrno(errno, tmpName);
    // Held while the file is ours: a cleaner never takes a temp file in use.
    (void)::flock(fd.get(), LOCK_EX | LOCK_NB);
    struct TmpGuard {
        const QByteArray &name;
        bool armed = true;
        ~TmpGuard()
        {
            if (armed)
                ::unlink(name.constData());
        }
    } guard{tmp};

    // Keep a private store private (and its group, where the system allows).
    struct stat st;
    if (::stat(target.constData(), &st) == 0)
        replace::keepModeAndOwner(fd.get(), st);
    if (!replace::writeAt(fd.get(), data.constData(), size_t(data.size())) || ::fsync(fd.get()) != 0)
        failErrno(errno, tmpName);
    if (::close(fd.release()) != 0)
        failErrno(errno, tmpName);
    if (::rename(tmp.constData(), target.constData()) != 0)
        failErrno(errno, QString::fromUtf8(target));
    guard.armed = false;
    syncDir(dirOf(target));
}

// Temp files of writers killed mid-write. Only lock holders write them, so
// while we hold the lock every one left is stale, whatever its age; one that
// someone still holds a lock on is left alone all the same.
void removeStaleTemps(const QByteArray &path)
{
    const QByteArray target = writeTarget(path);
    // Older versions wrote "<name>.tmp.<pid>".
    const QByteArray prefixes[] = {tempPrefix(target), target.mid(target.lastIndexOf('/') + 1) + ".tmp."};
    DIR *d = ::opendir(dirOf(target).constData());
    if (!d)
        return;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        const QByteArray *prefix = nullptr;
        for (const QByteArray &p : prefixes)
            if (name.startsWith(p) && name.size() > p.size())
                prefix = &p;
        if (!prefix)
            continue;
        const QByteArray pid = name.mid(prefix->size());
        if (!std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        Fd tmp(::openat(::dirfd(d), e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        struct stat st;
        if (!tmp.valid() || ::fstat(tmp.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::flock(tmp.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

} // namespace vx::store::detail
