#include "picture.h"

#include "platform/core/errors.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScreen>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace vx {

namespace {

QString &printToFile()
{
    static QString path;
    return path;
}

// Qt refuses images above 256 MB by default; large camera pictures exceed that.
void raiseAllocationLimit()
{
    static const bool done = [] {
        QImageReader::setAllocationLimit(2048);
        return true;
    }();
    (void)done;
}

// The picture format a file starts with ("" for none we show).
QString formatOfContent(const QByteArray &head)
{
    auto starts = [&](const char *sig, int n) { return head.size() >= n && std::memcmp(head.constData(), sig, n) == 0; };
    if (starts("BM", 2))
        return QStringLiteral("bmp");
    if (starts("\xFF\xD8\xFF", 3))
        return QStringLiteral("jpeg");
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return QStringLiteral("gif");
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return QStringLiteral("png");
    if (starts("\0\0\1\0", 4))
        return QStringLiteral("ico");
    if (starts("\0\0\2\0", 4))
        return QStringLiteral("cur");
    return QString();
}

// Large pictures reuse the memory of the last large one let go: fresh memory
// costs a fault per page, about a fifth of the decode time of a big photo, and
// a slide show lets one picture go for each it loads.
class BufferPool {
public:
    static constexpr size_t kMinBytes = size_t(16) << 20;

    ~BufferPool() { std::free(idle_.data); }

    // A picture of `size` and `format` over pooled memory; null when the
    // picture is small or memory is short.
    QImage image(QSize size, QImage::Format format)
    {
        if (!size.isValid() || format == QImage::Format_Invalid)
            return {};
        const qsizetype bpl = ((qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32) * 4;
        const size_t bytes = size_t(bpl) * size_t(size.height());
        if (bytes < kMinBytes)
            return {};
        Block block;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (idle_.data && idle_.capacity >= bytes && idle_.capacity / 2 <= bytes)
                std::swap(block, idle_);
        }
        if (!block.data) {
            block.data = static_cast<uchar *>(std::malloc(bytes));
            block.capacity = bytes;
            if (!block.data)
                return {};
        }
        auto *owned = new Block(block);
        return QImage(owned->data, size.width(), size.height(), bpl, format, &BufferPool::release, owned);
    }

private:
    struct Block {
        uchar *data = nullptr;
        size_t capacity = 0;
    };
    static void release(void *info);
    Block idle_;
    std::mutex mutex_;
};

BufferPool &bufferPool()
{
    static BufferPool pool;
    return pool;
}

void BufferPool::release(void *info)
{
    auto *block = static_cast<Block *>(info);
    BufferPool &pool = bufferPool();
    {
        const std::lock_guard<std::mutex> lock(pool.mutex_);
        // Keep the one let go last: the next picture of a folder is most
        // likely of its size.
        std::swap(*block, pool.idle_);
    }
    std::free(block->data);
    delete block;
}

void raiseForMissing(const QString &path)
{
    const QFileInfo fi(path);
    if (!QFileInfo(fi.absolutePath()).isDir())
        vx::raise(err::PathNotFound, path);
    vx::raise(err::FileNotFound, path);
}

} // namespace

Picture LoadPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo fi(path);
    if (!fi.exists())
        raiseForMissing(path);
    if (fi.isDir())
        vx::raise(err::PathFileAccess, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        vx::raise(file.error() == QFileDevice::PermissionsError || !fi.isReadable() ? err::PermissionDenied
                                                                                 : err::PathFileAccess,
              path);
    raiseAllocationLimit();
    // The content decides (a .dib is a bitmap, a renamed file still loads),
    // by its signature: asking every image plug-in to guess would let some take
    // damaged files for pictures of their own.
    const QString format = formatOfContent(file.peek(8));
    if (format.isEmpty())
        vx::raise(err::InvalidPicture, path);
    QImageReader reader(&file, format == QLatin1String("cur") ? QByteArray("ico") : format.toLatin1());
    // Pictures show as stored; camera orientation tags are not applied.
    reader.setAutoTransform(false);
    Picture pic;
    // Decoders that fill a picture of the right size in place use pooled memory.
    pic.image = bufferPool().image(reader.size(), reader.imageFormat());
    if (!reader.read(&pic.image) || pic.image.isNull())
        vx::raise(err::InvalidPicture, path);
    pic.format = format;
    return pic;
}

void SavePicture(const Picture &picture, const QString &path)
{
    if (picture.isNull())
        vx::raise(err::InvalidPicture);
    if (path.isEmpty())
        vx::raise(err::BadFileName);
    const QFileInfo fi(path);
    if (!QFileInfo(fi.absolutePath()).isDir())
        vx::raise(err::PathNotFound, path);
    if (fi.isDir())
        vx::raise(err::PathFileAccess, path);
    const bool icon = picture.format == QLatin1String("ico") || picture.format == QLatin1String("cur");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError ||
                            (fi.exists() && !fi.isWritable()) || !QFileInfo(fi.absolutePath()).isWritable();
        vx::raise(denied ? err::PermissionDenied : err::PathFileAccess, path);
    }
    QImageWriter writer(&file, icon ? "ico" : "bmp");
    if (!writer.write(picture.image)) {
        file.cancelWriting();
        vx::raise(err::PathFileAccess, path);
    }
    if (!file.commit())
        vx::raise(err::PathFileAccess, path);
}

bool CopyPictureToClipboard(const Picture &picture)
{
    if (picture.isNull())
        return false;
    QGuiApplication::clipboard()->setImage(picture.image);
    return true;
}

Picture ClipboardPicture()
{
    Picture pic;
    pic.image = QGuiApplication::clipboard()->image();
    if (!pic.image.isNull())
        pic.format = QStringLiteral("bmp");
    return pic;
}

void setPrintToFile(const QString &pdfPath)
{
    printToFile() = pdfPath;
}

QString PrintPicture(const Picture &picture)
{
    if (picture.isNull())
        return QStringLiteral("印刷するピクチャがありません。");
    QPrinter printer(QPrinter::HighResolution);
    if (!printToFile().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile());
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return QStringLiteral("プリンタが見つかりません。");
        printer.setPrinterName(info.printerName());
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return errorText(err::PrinterError);
    // Natural size: one picture pixel is one 96-dpi screen pixel.
    const double sx = printer.logicalDpiX() / 96.0;
    const double sy = printer.logicalDpiY() / 96.0;
    painter.drawImage(QRectF(0, 0, picture.image.width() * sx, picture.image.height() * sy), picture.image);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return errorText(err::PrinterError);
    return QString();
}

QImage GrabScreenArea(const QRect &area)
{
    if (area.isEmpty())
        return {};
    QImage out(area.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect geo = screen->geometry();
        const QRect part = area.intersected(geo);
        if (part.isEmpty())
            continue;
        // Only the requested part is copied; the screen's origin is its own.
        const QPixmap pm = screen->grabWindow(0, part.x() - geo.x(), part.y() - geo.y(), part.width(), part.height());
        if (!pm.isNull())
            p.drawPixmap(QRect(part.topLeft() - area.topLeft(), part.size()), pm);
    }
    p.end();
    return out;
}

} // namespace vx
