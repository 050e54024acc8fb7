#include "platform/core/userfileqt.h"
#include "platform/core/errors.h"

#include <limits>

namespace vx {

UserFileStatus openUserFile(QFile &file, const QString &path, qint64 maxBytes)
{
    userfile::Handle h = userfile::open(QFile::encodeName(path).constData(), maxBytes);
    if (!h.ok())
        return h.status();
    const int fd = h.fd();
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return UserFileStatus::Failed;
    h.release();
    return UserFileStatus::Ok;
}

UserFileStatus readUserFile(const QString &path, qint64 maxBytes, QByteArray &out)
{
    out.clear();
    userfile::Handle h = userfile::open(QFile::encodeName(path).constData(), maxBytes);
    if (!h.ok())
        return h.status();
    QFile file;
    if (!file.open(h.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return UserFileStatus::Failed;
    // Read by size plus one byte: a file that grew past the bound is too large.
    const qint64 want = maxBytes >= 0 ? maxBytes + 1 : std::numeric_limits<qint64>::max();
    QByteArray data;
    try {
        data = file.read(qMin<qint64>(want, qMax<qint64>(h.size(), 0) + 1));
        while (!file.atEnd() && data.size() < want) {
            const QByteArray more = file.read(qMin<qint64>(want - data.size(), 1 << 20));
            if (more.isEmpty())
                break;
            data.append(more);
        }
    } catch (const std::bad_alloc &) {
        return UserFileStatus::TooLarge;
    }
    if (file.error() != QFileDevice::NoError)
        return UserFileStatus::Failed;
    if (maxBytes >= 0 && data.size() > maxBytes)
        return UserFileStatus::TooLarge;
    out = std::move(data);
    return UserFileStatus::Ok;
}

UserFileStatus checkSaveTarget(const QString &path)
{
    return userfile::checkSaveTarget(QFile::encodeName(path).constData());
}

int userFileErrorNumber(UserFileStatus status)
{
    switch (status) {
    case UserFileStatus::Ok:
        return 0;
    case UserFileStatus::Missing:
        return err::FileNotFound;
    case UserFileStatus::Denied:
        return err::PermissionDenied;
    case UserFileStatus::NotRegular:
    case UserFileStatus::TooLarge:
        return err::PathFileAccess;
    case UserFileStatus::Failed:
        break;
    }
    return err::DeviceIO;
}

void raiseForUserFile(UserFileStatus status, const QString &path)
{
    if (status != UserFileStatus::Ok)
        raise(userFileErrorNumber(status), path);
}

} // namespace vx
