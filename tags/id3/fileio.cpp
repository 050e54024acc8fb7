#include "fileio.h"

#include "platform/core/errors.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ID3Module::io {

void Fd::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

void Fd::close(const QString &path)
{
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0)
        fail(errno, path);
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

[[noreturn]] void fail(int e, const QString &path)
{
    int number;
    switch (e) {
    case ENOENT: number = vx::err::FileNotFound; break;
    case ENOTDIR: number = vx::err::PathNotFound; break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: number = vx::err::PermissionDenied; break;
    case ENOSPC:
    case EDQUOT: number = vx::err::DiskFull; break;
    case EIO: number = vx::err::DeviceIO; break;
    default: number = vx::err::PathFileAccess; break;
    }
    vx::raise(number, path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(e)));
}

int openRead(const QString &path)
{
    if (path.isEmpty())
        vx::raise(vx::err::BadFileName);
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail(errno, path);
    return fd;
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

void writeAll(int fd, const char *data, qint64 count, const QString &path)
{
    while (count > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(count));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        data += n;
        count -= n;
    }
}

void copyRange(int dst, int src, qint64 from, qint64 to, const QString &srcPath, const QString &dstPath)
{
    std::vector<char> buf(1 << 20);
    while (from < to) {
        const qint64 want = std::min<qint64>(static_cast<qint64>(buf.size()), to - from);
        const qint64 got = readAt(src, buf.data(), want, from, srcPath);
        if (got <= 0)
            vx::raise(vx::err::DeviceIO, srcPath); // the file shrank under us
        writeAll(dst, buf.data(), got, dstPath);
        from += got;
    }
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

} // namespace

Replacement::Replacement(const QString &path, const QString &modeFrom) : path_(path)
{
    const QByteArray target = realTarget(native(path));
    const QByteArray dir = dirOf(target);
    const QByteArray base = target.mid(target.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < 100 && fd_.get() < 0; ++attempt) {
        temp_ = dir + "/." + base + ".vxtag-" +
                QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(temp_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            fd_.reset(fd);
        else if (errno != EEXIST)
            fail(errno, path);
    }
    if (fd_.get() < 0)
        fail(EEXIST, path);
    target_ = target;
    struct stat st;
    if (!modeFrom.isEmpty() && ::stat(native(modeFrom).constData(), &st) == 0)
        ::fchmod(fd_.get(), st.st_mode & 07777);
}

Replacement::~Replacement()
{
    fd_.reset();
    if (!committed_ && !temp_.isEmpty())
        ::unlink(temp_.constData());
}

void Replacement::write(const QByteArray &bytes)
{
    writeAll(fd_.get(), bytes.constData(), bytes.size(), path_);
    written_ += bytes.size();
}

void Replacement::copyFrom(int src, qint64 from, qint64 to, const QString &srcPath)
{
    if (to <= from)
        return;
    copyRange(fd_.get(), src, from, to, srcPath, path_);
    written_ += to - from;
}

void Replacement::commit()
{
    if (::fsync(fd_.get()) != 0)
        fail(errno, path_);
    fd_.close(path_);
    if (::rename(temp_.constData(), target_.constData()) != 0)
        fail(errno, path_);
    committed_ = true;
    const QByteArray dir = dirOf(target_);
    const int d = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d >= 0) {
        ::fsync(d);
        ::close(d);
    }
}

Backup::Backup(const QString &path, const QString &backupName) : name_(backupName)
{
    const QByteArray from = realTarget(native(path));
    const QByteArray to = native(backupName);
    if (::link(from.constData(), to.constData()) == 0)
        return;
    if (errno != EXDEV && errno != EPERM && errno != EMLINK && errno != ENOTSUP && errno != ENOSYS)
        fail(errno, backupName);
    // No hard links here: a full copy, flushed before the original is touched.
    Fd src(openRead(path));
    const qint64 size = sizeOf(src.get(), path);
    Fd dst(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (dst.get() < 0)
        fail(errno, backupName);
    try {
        copyRange(dst.get(), src.get(), 0, size, path, backupName);
        if (::fsync(dst.get()) != 0)
            fail(errno, backupName);
        dst.close(backupName);
    } catch (...) {
        dst.reset();
        ::unlink(to.constData());
        throw;
    }
}

Backup::~Backup()
{
    if (!removed_)
        ::unlink(native(name_).constData());
}

void Backup::remove()
{
    // The new file is in place by now: a backup that will not go is no failure.
    removed_ = true;
    ::unlink(native(name_).constData());
}

} // namespace ID3Module::io
