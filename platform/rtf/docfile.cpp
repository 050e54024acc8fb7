#include "docfile.h"

#include "platform/core/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::text {

namespace {

const QString kKeepMark = QStringLiteral(".keep-");

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
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

// Copies left by a save that did not finish: the save that just succeeded
// made them stale.
void removeStaleCopies(const QFileInfo &file)
{
    const QDir dir = file.absoluteDir();
    const QString prefix = QLatin1Char('.') + file.fileName() + kKeepMark;
    const QStringList names = dir.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &n : names)
        if (n.size() == prefix.size() + 6)
            QFile::remove(dir.filePath(n));
}

void writeInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        raise(errno == EACCES || errno == EPERM ? err::PermissionDenied : err::PathFileAccess);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    QByteArray old;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !readAll(fd, st.st_size, old))
        raise(err::PathFileAccess);
    const QFileInfo info(path);
    QTemporaryFile copy(info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() + kKeepMark + QStringLiteral("XXXXXX")));
    copy.setAutoRemove(false);
    if (!copy.open() || copy.write(old) != old.size() || !copy.flush() || ::fsync(copy.handle()) != 0) {
        copy.remove();
        raise(err::PathFileAccess);
    }
    copy.close();
    if (!writeAll(fd, bytes)) {
        // Put the old content back; the copy stays when even that fails.
        if (writeAll(fd, old))
            copy.remove();
        raise(err::PathFileAccess);
    }
    copy.remove();
    removeStaleCopies(info);
}

} // namespace

void writeDocument(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        raise(err::BadFileName);
    QString target = path;
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) == 0) {
        // A link is followed: its target is the document.
        target = QFileInfo(path).canonicalFilePath();
        if (!S_ISREG(st.st_mode))
            raise(err::PathFileAccess);
        // A rename over the file would ignore its write protection.
        if (::access(QFile::encodeName(target).constData(), W_OK) != 0)
            raise(errno == EACCES || errno == EPERM || errno == EROFS ? err::PermissionDenied : err::PathFileAccess);
        if (st.st_nlink > 1) {
            writeInPlace(target, bytes);
            return;
        }
    }
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        raise(err::PathFileAccess);
    removeStaleCopies(QFileInfo(target));
}

} // namespace vx::text
