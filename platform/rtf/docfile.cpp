#include "docfile.h"

#include "platform/core/errors.h"
#include "platform/core/fd.h"
#include "platform/core/sidefile.h"
#include "platform/core/syserror.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::text {

namespace {

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
}

bool readAll(int fd, qint64 size, QByteArray &out)
{
    out.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, out.data() + done, size_t(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The file system's refusal, as the user reads it: a save's own words
// where they say more than the system's.
[[noreturn]] void fail(int e)
{
    switch (e) {
    case EACCES:
    case EPERM: throw RuntimeError(err::PermissionDenied, QStringLiteral("書き込みが許可されていません。"));
    case EROFS: throw RuntimeError(err::PermissionDenied, systemReason(e));
    case ENOENT:
    case ENOTDIR: throw RuntimeError(err::PathNotFound, QStringLiteral("保存先のフォルダーが見つかりません。"));
    case ENOSPC:
    case EDQUOT: throw RuntimeError(err::DiskFull, systemReason(e));
    case EFBIG: throw RuntimeError(err::DiskFull, QStringLiteral("ファイルが大きすぎて書き込めません。"));
    case ENAMETOOLONG: throw RuntimeError(err::BadFileName, systemReason(e));
    case EISDIR: throw RuntimeError(err::PathFileAccess, QStringLiteral("通常のファイルではありません。"));
    default: throw RuntimeError(err::DeviceIO, systemReason(e));
    }
}

constexpr std::string_view kKeepTag = "keep-";
constexpr std::string_view kTempTag = "vxtmp-";

void writeInPlace(const QString &path, const QByteArray &bytes)
{
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid())
        fail(errno);
    struct stat st {};
    QByteArray old;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw RuntimeError(err::PathFileAccess, QStringLiteral("通常のファイルではありません。"));
    if (!readAll(fd.get(), st.st_size, old))
        fail(errno);
    const SideFiles keep(path, kKeepTag);
    std::string copyName;
    {
        Fd copy = keep.create(copyName, 0600);
        if (!copy.valid())
            fail(errno);
        if (!writeAll(copy.get(), old)) {
            const int e = errno;
            ::unlink(keep.path(copyName).constData());
            fail(e);
        }
    }
    if (!writeAll(fd.get(), bytes)) {
        const int e = errno;
        // Put the old content back; the copy stays when even that fails.
        if (writeAll(fd.get(), old))
            ::unlink(keep.path(copyName).constData());
        fail(e);
    }
    ::unlink(keep.path(copyName).constData());
    keep.removeLeftovers(SideFiles::Leftovers::All);
}

// A new file with the content, renamed over `target` once it is on the disk.
void replaceWhole(const QString &target, const QByteArray &bytes, const struct stat *old)
{
    const SideFiles temp(target, kTempTag);
    temp.removeLeftovers(SideFiles::Leftovers::StaleAndUnheld);
    std::string name;
    Fd fd = temp.create(name, old ? 0600 : 0666);
    if (!fd.valid())
        fail(errno);
    const QByteArray tempPath = temp.path(name);
    if (old) {
        // The new file takes the old one's owner and mode where it may.
        [[maybe_unused]] const int owned = ::fchown(fd.get(), old->st_uid, old->st_gid);
        ::fchmod(fd.get(), old->st_mode & 07777);
    }
    if (!writeAll(fd.get(), bytes) || ::rename(tempPath.constData(), QFile::encodeName(target).constData()) != 0) {
        const int e = errno;
        ::unlink(tempPath.constData());
        fail(e);
    }
    Fd dir(::open(temp.dir().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
    SideFiles(target, kKeepTag).removeLeftovers(SideFiles::Leftovers::All);
}

} // namespace

void writeDocument(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        raise(err::BadFileName);
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        if (errno != ENOENT)
            fail(errno);
        replaceWhole(path, bytes, nullptr);
        return;
    }
    // A link is followed: its target is the document.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (!S_ISREG(st.st_mode))
        throw RuntimeError(err::PathFileAccess, QStringLiteral("通常のファイルではありません。"));
    // A rename over the file would ignore its write protection.
    if (::access(QFile::encodeName(target).constData(), W_OK) != 0)
        fail(errno);
    if (st.st_nlink > 1)
        writeInPlace(target, bytes);
    else
        replaceWhole(target, bytes, &st);
}

} // namespace vx::text
