#include "fileio.h"

#include "platform/core/errors.h"
#include "platform/core/sidefile.h"
#include "platform/core/sidename.h"
#include "platform/core/syserror.h"
#include "platform/core/userfile.h"

#include <QFile>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ID3Module::io {

void Fd::close(const QString &path)
{
    const int fd = release();
    if (fd >= 0 && ::close(fd) != 0)
        fail(errno, path);
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

namespace {

std::string_view view(const QByteArray &b)
{
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

// The random part of a temporary name: a 32-bit number in base 36.
constexpr std::size_t kTempUnique = 7;
// The backup counter runs to 32767.
constexpr std::size_t kBackupUnique = 4 + 5; // "_old" and the counter

// ".NAME.vxtag-", NAME cut so that the whole temporary name fits.
QByteArray tempPrefix(const QByteArray &fileName)
{
    return QByteArray::fromStdString(vx::sidename::prefix(view(fileName), "vxtag-", kTempUnique));
}

} // namespace

BackupName backupName(const QByteArray &fileName)
{
    using vx::sidename::fitted;
    using vx::sidename::kNameMax;
    const qsizetype dot = fileName.lastIndexOf('.');
    const QByteArray base = dot < 0 ? fileName : fileName.left(dot);
    QByteArray ext = dot < 0 ? QByteArray() : fileName.mid(dot);
    // An extension of hundreds of bytes leaves the name some room too.
    constexpr std::size_t kMinStem = 16;
    constexpr std::size_t kMaxExt = kNameMax - kBackupUnique - kMinStem;
    if (static_cast<std::size_t>(ext.size()) > kMaxExt)
        ext = "." + QByteArray::fromStdString(fitted(view(ext.mid(1)), kMaxExt - 1));
    const std::size_t room = kNameMax - kBackupUnique - static_cast<std::size_t>(ext.size());
    return {QByteArray::fromStdString(fitted(view(base), room)) + "_old", ext};
}

namespace {

// The run-time error of a system error; 0 for one whose number would not say
// what went wrong.
int numberOf(int e)
{
    switch (e) {
    case ENOENT: return vx::err::FileNotFound;
    case ENOTDIR: return vx::err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return vx::err::PermissionDenied;
    case ENOSPC:
    case EDQUOT: return vx::err::DiskFull;
    case EIO: return vx::err::DeviceIO;
    default: return 0;
    }
}

} // namespace

[[noreturn]] void fail(int e, const QString &path)
{
    if (const int number = numberOf(e))
        vx::raise(number, path);
    vx::raise(vx::err::PathFileAccess, path + QStringLiteral("：") + vx::systemReason(e));
}

namespace {

int openUserFile(const QString &path, const QByteArray &name, vx::userfile::Blocking blocking, struct stat *st)
{
    if (path.isEmpty())
        vx::raise(vx::err::BadFileName);
    vx::userfile::Handle h = vx::userfile::open(name.constData(), kMaxFileBytes, blocking);
    switch (h.status()) {
    case vx::userfile::Status::Ok:
        if (st)
            *st = h.info();
        return h.release();
    case vx::userfile::Status::NotRegular:
        vx::raise(vx::err::PathFileAccess, path + QStringLiteral("：通常のファイルではありません。"));
    case vx::userfile::Status::TooLarge:
        vx::raise(vx::err::PathFileAccess,
                  path + QStringLiteral("：ファイルが大きすぎます（2 GB 以上のファイルは扱えません）。"));
    default:
        fail(h.error() ? h.error() : EIO, path);
    }
}

} // namespace

int openRead(const QString &path)
{
    return openUserFile(path, native(path), vx::userfile::Blocking::Restore, nullptr);
}

int openRead(const QString &path, const QByteArray &native, struct stat &st)
{
    return openUserFile(path, native, vx::userfile::Blocking::Keep, &st);
}

qint64 sizeOf(int fd, const QString &path)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        fail(errno, path);
    if (S_ISDIR(st.st_mode))
        fail(EISDIR, path);
    return st.st_size;
}

qint64 readAt(int fd, char *buf, qint64 count, qint64 offset, const QString &path)
{
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, buf + done, static_cast<size_t>(count - done), offset + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool trailingTagAt(int fd, qint64 length, const QString &path)
{
    if (length < 128)
        return false;
    char tag[3] = {};
    return readAt(fd, tag, 3, length - 128, path) == 3 && tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G';
}

bool exists(const QString &path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0;
}

bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    struct stat sa;
    struct stat sb;
    if (::stat(native(a).constData(), &sa) != 0 || ::stat(native(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

namespace {

// A link stays a link: what it points to is replaced.
QByteArray realTarget(const QByteArray &path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *real = ::realpath(path.constData(), nullptr)) {
            QByteArray r(real);
            ::free(real);
            return r;
        }
    }
    return path;
}

QByteArray dirOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

bool allOf(const QByteArray &s, bool (*pred)(char))
{
    return std::all_of(s.begin(), s.end(), pred);
}

} // namespace

void removeLeftovers(const QString &path)
{
    const QByteArray real = realTarget(native(path));
    const QByteArray dir = dirOf(real);
    const QByteArray base = real.mid(real.lastIndexOf('/') + 1);
    const auto [oldPrefix, ext] = backupName(base);
    const QByteArray temps = tempPrefix(base);
    struct stat self;
    const bool haveSelf = ::stat(real.constData(), &self) == 0;

    DIR *d = ::opendir(dir.constData());
    if (!d)
        return;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        const bool temp = name.startsWith(temps) && name.size() > temps.size() &&
                          allOf(name.mid(temps.size()), [](char c) { return std::isalnum(uchar(c)) != 0; });
        const bool backup = name.startsWith(oldPrefix) && name.endsWith(ext) &&
                            name.size() >= oldPrefix.size() + ext.size() &&
                            allOf(name.mid(oldPrefix.size(), name.size() - oldPrefix.size() - ext.size()),
                                  [](char c) { return c >= '0' && c <= '9'; });
        if (!temp && !backup)
            continue;
        Fd fd(::openat(::dirfd(d), e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        struct stat st;
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || !vx::olderThanThisProgram(st))
            continue;
        // A backup name is ours only while it is the file itself (the link an
        // interrupted save made): a file of the user's that happens to carry
        // the name is never touched.
        if (backup && !(haveSelf && st.st_dev == self.st_dev && st.st_ino == self.st_ino))
            continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue; // someone is still at it
        struct stat now;
        if (::fstatat(::dirfd(d), e->d_name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == st.st_dev &&
            now.st_ino == st.st_ino)
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

void save(const QString &path, const vx::StreamedContent &content)
{
    if (path.isEmpty())
        vx::raise(vx::err::BadFileName);
    removeLeftovers(path);
    const vx::SaveResult r = vx::saveUserFile(path, content);
    if (r.ok())
        return;
    const int number = r.failed == vx::SaveResult::Failed::File || r.failed == vx::SaveResult::Failed::Folder
                           ? numberOf(r.error)
                           : 0;
    vx::raise(number ? number : vx::err::PathFileAccess, path + QStringLiteral("：") + r.reason());
}

} // namespace ID3Module::io
