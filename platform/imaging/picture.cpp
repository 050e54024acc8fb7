#include "picture.h"

#include "platform/core/errors.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

#include <cstring>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScreen>

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
