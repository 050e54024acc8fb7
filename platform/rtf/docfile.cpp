#include "docfile.h"

#include "platform/core/errors.h"
#include "platform/core/sidename.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::text {

namespace {

constexpr std::size_t kUnique = 6;

// When this process started: a side file older than that is no save of ours
// in progress.
const struct timespec g_started = [] {
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return t;
}();

struct Fd {
    int fd = -1;
    Fd() = default;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

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

// The file system's refusal, as the user reads it.
[[noreturn]] void fail(int e)
{
    switch (e) {
    case EACCES:
    case EPERM: throw RuntimeError(err::PermissionDenied, QStringLiteral("書き込みが許可されていません。"));
    case EROFS: throw RuntimeError(err::PermissionDenied, QStringLiteral("読み取り専用のドライブです。"));
    case ENOENT:
    case ENOTDIR: throw RuntimeError(err::PathNotFound, QStringLiteral("保存先のフォルダーが見つかりません。"));
    case ENOSPC:
    case EDQUOT: throw RuntimeError(err::DiskFull, QStringLiteral("ディスクの空き容量が不足しています。"));
    case EFBIG: throw RuntimeError(err::DiskFull, QStringLiteral("ファイルが大きすぎて書き込めません。"));
    case ENAMETOOLONG: throw RuntimeError(err::BadFileName, QStringLiteral("ファイル名が長すぎます。"));
    case EISDIR: throw RuntimeError(err::PathFileAccess, QStringLiteral("通常のファイルではありません。"));
    default:
        throw RuntimeError(err::DeviceIO, QStringLiteral("書き込み中にエラーが起きました (%1)。").arg(e));
    }
}

// Our side files beside `file`: ".NAME.<tag>XXXXXX", cut to fit (sidename.h).
struct Side {
    QByteArray dir;
    std::string prefix;
    Side(const QFileInfo &file, std::string_view tag)
        : dir(QFile::encodeName(file.absolutePath())),
          prefix(sidename::prefix(QFile::encodeName(file.fileName()).toStdString(), tag, kUnique))
    {
    }
    QByteArray path(const std::string &name) const { return dir + '/' + QByteArray::fromStdString(name); }

    // A new side file, locked while it is in use; the mode of a new file
    // when `mode` is 0666, else that mode. Raises with the reason.
    Fd create(std::string &name, mode_t mode) const
    {
        static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            name = prefix;
            for (std::size_t k = 0; k < kUnique; ++k)
                name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
            Fd fd(::open(path(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
            if (fd.fd >= 0) {
                ::flock(fd.fd, LOCK_EX | LOCK_NB);
                return Fd(std::exchange(fd.fd, -1));
            }
            if (errno != EEXIST)
                fail(errno);
        }
        fail(EEXIST);
    }

    // Side files a save that did not finish left: with `staleOnly`, those
    // older than this program that no one holds.
    void removeLeftovers(bool staleOnly) const
    {
        DIR *d = ::opendir(dir.constData());
        if (!d)
            return;
        while (const dirent *e = ::readdir(d)) {
            const std::string_view n(e->d_name);
            if (n.size() != prefix.size() + kUnique || n.compare(0, prefix.size(), prefix) != 0)
                continue;
            Fd fd(::openat(::dirfd(d), e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
            struct stat st {};
            if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode))
                continue;
            const bool old = st.st_mtim.tv_sec < g_started.tv_sec ||
                             (st.st_mtim.tv_sec == g_started.tv_sec && st.st_mtim.tv_nsec < g_started.tv_nsec);
            if (staleOnly && (!old || ::flock(fd.fd, LOCK_EX | LOCK_NB) != 0))
                continue;
            ::unlinkat(::dirfd(d), e->d_name, 0);
        }
        ::closedir(d);
    }
};

const std::string_view kKeepTag = "keep-";
const std::string_view kTempTag = "vxtmp-";

void writeInPlace(const QString &path, const QByteArray &bytes)
{
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.fd < 0)
        fail(errno);
    struct stat st {};
    QByteArray old;
    if (::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw RuntimeError(err::PathFileAccess, QStringLiteral("通常のファイルではありません。"));
    if (!readAll(fd.fd, st.st_size, old))
        fail(errno);
    const Side keep(QFileInfo(path), kKeepTag);
    std::string copyName;
    {
        Fd copy = keep.create(copyName, 0600);
        if (!writeAll(copy.fd, old)) {
            const int e = errno;
            ::unlink(keep.path(copyName).constData());
            fail(e);
        }
    }
    if (!writeAll(fd.fd, bytes)) {
        const int e = errno;
        // Put the old content back; the copy stays when even that fails.
        if (writeAll(fd.fd, old))
            ::unlink(keep.path(copyName).constData());
        fail(e);
    }
    ::unlink(keep.path(copyName).constData());
    keep.removeLeftovers(false);
}

// A new file with the content, renamed over `target` once it is on the disk.
void replaceWhole(const QString &target, const QByteArray &bytes, const struct stat *old)
{
    const Side temp(QFileInfo(target), kTempTag);
    temp.removeLeftovers(true);
    std::string name;
    Fd fd = temp.create(name, old ? 0600 : 0666);
    const QByteArray tempPath = temp.path(name);
    if (old) {
        // The new file takes the old one's owner and mode where it may.
        [[maybe_unused]] const int owned = ::fchown(fd.fd, old->st_uid, old->st_gid);
        ::fchmod(fd.fd, old->st_mode & 07777);
    }
    if (!writeAll(fd.fd, bytes) || ::rename(tempPath.constData(), QFile::encodeName(target).constData()) != 0) {
        const int e = errno;
        ::unlink(tempPath.constData());
        fail(e);
    }
    Fd dir(::open(temp.dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0)
        ::fsync(dir.fd);
    Side(QFileInfo(target), kKeepTag).removeLeftovers(false);
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
