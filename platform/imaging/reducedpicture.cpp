#include "reducedpicture.h"

#include "platform/core/errors.h"
#include "pictureclaim.h"
#include "pictureopen.h"

#include <QFile>
#include <QImageReader>
#include <QMutex>

#include <unistd.h>

namespace vx {

namespace {

// Set by tests while reading threads may run: copied under the lock.
QMutex hookMutex;
std::function<void(const QString &)> &hookSlot()
{
    static std::function<void(const QString &)> h;
    return h;
}

std::function<void(const QString &)> hook()
{
    const QMutexLocker lock(&hookMutex);
    return hookSlot();
}

// What the decoder allocates for a reduced read: JPEG decodes at the largest
// 1/1, 1/2, 1/4 or 1/8 scale that still covers the target; the others decode
// whole and are reduced afterwards.
QSize decodedSize(const QString &format, QSize natural, QSize target)
{
    if (format != QLatin1String("jpeg"))
        return natural;
    const int ratio = std::min(natural.width() / std::max(1, target.width()),
                               natural.height() / std::max(1, target.height()));
    const int denom = ratio >= 8 ? 8 : ratio >= 4 ? 4 : ratio >= 2 ? 2 : 1;
    return QSize((natural.width() + denom - 1) / denom, (natural.height() + denom - 1) / denom);
}

} // namespace

void setReducedDecodeHook(std::function<void(const QString &)> h)
{
    const QMutexLocker lock(&hookMutex);
    hookSlot() = std::move(h);
}

ReducedPicture LoadReducedPicture(const QString &path, const std::function<QSize(QSize)> &target)
{
    if (path.isEmpty())
        vx::raise(err::InvalidPicture);
    PictureSource source;
    const int fd = detail::openPictureFile(path, source);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        vx::raise(err::PathFileAccess, path);
    }
    const QString format = detail::pictureFormatOf(file.peek(8));
    if (format.isEmpty())
        vx::raise(err::InvalidPicture, path);
    const PictureClaim claim = ReadPictureClaim(file, format);
    if (!claim.plausible)
        vx::raise(err::InvalidPicture, path);
    QImageReader reader(&file, format == QLatin1String("cur") ? QByteArray("ico") : format.toLatin1());
    reader.setAutoTransform(false);
    const QSize readerSize = reader.size();
    const QSize natural = readerSize.isValid() ? claim.size.expandedTo(readerSize) : claim.size;
    const QSize wanted = target(natural);
    if (wanted.isEmpty())
        vx::raise(err::InvalidPicture, path);
    // Checked before any pixel memory: what the decoder holds plus the result.
    const qint64 cost = PictureBytes(decodedSize(format, natural, wanted), reader.imageFormat()) +
                        PictureBytes(wanted, QImage::Format_ARGB32);
    const qint64 limit = PictureMemoryLimit();
    if (cost > limit)
        vx::raise(err::OutOfMemory, path);
    // Accepted: Qt's own default limit would refuse large photos we can take.
    detail::setReaderAllocationLimit(limit);
    if (const auto h = hook())
        h(path);
    reader.setScaledSize(wanted);
    ReducedPicture out;
    out.natural = natural;
    if (!reader.read(&out.image) || out.image.isNull())
        vx::raise(err::InvalidPicture, path);
    if (out.image.size() != wanted)
        out.image = out.image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return out;
}

} // namespace vx
