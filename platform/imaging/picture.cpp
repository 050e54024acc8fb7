#include "picture.h"

#include "platform/core/errors.h"
#include "platform/core/fd.h"
#include "platform/core/savefile.h"
#include "platform/dialogs/dialogs.h"
#include "platform/core/userfile.h"
#include "platform/core/userfileqt.h"
#include "pictureclaim.h"
#include "pictureopen.h"
#include "jpegrows.h"
#include "picturepool.h"
#include "picturerows.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <QCursor>
#include <QThread>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

QString &printToFile()
{
    static QString path;
    return path;
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

std::function<void()> &decodeHook()
{
    static std::function<void()> hook;
    return hook;
}

// Shown while a large picture decodes, on the main thread only.
class BusyPointer {
public:
    explicit BusyPointer(bool on)
        : on_(on && qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
              QThread::currentThread() == QCoreApplication::instance()->thread())
    {
        if (on_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyPointer()
    {
        if (on_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    bool on_;
};

// About a tenth of a second of decoding and more.
constexpr qint64 kBusyPixels = 2'000'000;

PictureSource sourceOf(const struct stat &st)
{
    PictureSource s;
    s.bytes = st.st_size;
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    return s;
}

// A regular file opened for reading through the one way user files open;
// the error numbers are the picture load's own.
int openRegular(const QString &path, PictureSource &source)
{
    // No size bound: the file is streamed, and the header's claim is checked
    // against memory before any pixels are taken.
    userfile::Handle h = userfile::open(QFile::encodeName(path).constData(), userfile::kNoLimit);
    switch (h.status()) {
    case userfile::Status::Ok:
        break;
    case userfile::Status::Missing:
        raiseForMissing(path);
        break;
    case userfile::Status::Denied:
        vx::raise(err::PermissionDenied, path);
        break;
    case userfile::Status::NotRegular:
        // A folder is an access error; a FIFO, socket or device is no picture.
        vx::raise(QFileInfo(path).isDir() ? err::PathFileAccess : err::InvalidPicture, path);
        break;
    case userfile::Status::TooLarge:
    case userfile::Status::Failed:
        vx::raise(err::PathFileAccess, path);
        break;
    }
    source = sourceOf(h.info());
    return h.release();
}

} // namespace

namespace detail {

QString pictureFormatOf(const QByteArray &head) { return formatOfContent(head); }

int openPictureFile(const QString &path, PictureSource &source) { return openRegular(path, source); }

void setReaderAllocationLimit(qint64 bytes)
{
    // Pictures also decode on worker threads; the reader's limit is one value.
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    QImageReader::setAllocationLimit(int(std::min<qint64>(bytes >> 20, INT_MAX - 1)) + 1);
}

} // namespace detail

namespace {

Picture load(const QString &path, bool whileShown)
{
    if (path.isEmpty())
        return {};
    Picture pic;
    const int fd = openRegular(path, pic.source);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        vx::raise(err::PathFileAccess, path);
    }
    // The content decides (a .dib is a bitmap, a renamed file still loads),
    // by its signature: asking every image plug-in to guess would let some take
    // damaged files for pictures of their own.
    const QString format = formatOfContent(file.peek(8));
    if (format.isEmpty())
        vx::raise(err::InvalidPicture, path);
    // The cost is known before it is paid: the header's claim against what the
    // bytes could hold and against the memory there is.
    const PictureClaim claim = ReadPictureClaim(file, format);
    if (!claim.plausible)
        vx::raise(err::InvalidPicture, path);
    QImageReader reader(&file, format == QLatin1String("cur") ? QByteArray("ico") : format.toLatin1());
    // Pictures show as stored; camera orientation tags are not applied.
    reader.setAutoTransform(false);
    const QSize readerSize = reader.size();
    const QImage::Format readerFormat = reader.imageFormat();
    const QSize size = readerSize.isValid() ? claim.size.expandedTo(readerSize) : claim.size;
    const qint64 limit = PictureMemoryLimit();
    if (PictureBytes(size, readerFormat) > limit)
        vx::raise(err::OutOfMemory, path);
    // Qt's own check stays for what the decoders allocate themselves.
    detail::setReaderAllocationLimit(limit);
    const bool large = qint64(size.width()) * size.height() >= kBusyPixels;
    if (whileShown && large && format == QLatin1String("jpeg") && readerSize == size) {
        Picture rows = detail::startJpegRows(file.handle(), size);
        if (!rows.isNull()) {
            if (decodeHook())
                decodeHook()();
            rows.source = pic.source;
            return rows;
        }
    }
    const BusyPointer busy(large);
    if (decodeHook())
        decodeHook()();
    // Decoders that fill a picture of the right size in place use pooled memory.
    if (readerSize == size)
        pic.image = detail::pooledImage(readerSize, readerFormat);
    if (!reader.read(&pic.image) || pic.image.isNull())
        vx::raise(err::InvalidPicture, path);
    pic.format = format;
    return pic;
}

} // namespace

Picture LoadPicture(const QString &path) { return load(path, false); }

Picture LoadPictureWhileShown(const QString &path) { return load(path, true); }

void WaitForPicture(const Picture &picture)
{
    if (picture.rows)
        picture.rows->waitAll();
}

bool IsPictureOf(const Picture &picture, const QString &path)
{
    if (picture.isNull() || picture.source.bytes < 0 || path.isEmpty())
        return false;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return sourceOf(st) == picture.source;
}

void setPictureDecodeHook(std::function<void()> hook)
{
    decodeHook() = std::move(hook);
}

void SavePicture(const Picture &picture, const QString &path)
{
    if (picture.isNull())
        vx::raise(err::InvalidPicture);
    if (path.isEmpty())
        vx::raise(err::BadFileName);
    const bool icon = picture.format == QLatin1String("ico") || picture.format == QLatin1String("cur");
    // Encoded whole first: the disk then sees one write whose refusal
    // carries the system's reason.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, icon ? "ico" : "bmp").write(picture.image))
            vx::raise(err::InvalidPicture, path);
    }
    const SaveResult r = saveUserFile(path, bytes);
    if (!r.ok())
        throw RuntimeError(r.errorNumber(), r.reason() + QLatin1Char('\n') + path);
}

bool SavePictureSayingWhy(const Picture &picture, const QString &path)
{
    try {
        SavePicture(picture, path);
        return true;
    } catch (const RuntimeError &e) {
        // The reason comes with the file's name.
        MsgBox(QStringLiteral("画像を保存できませんでした。\n") + e.description(), vbExclamation);
        return false;
    }
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

static std::function<void(const QRect &)> &grabHook()
{
    static std::function<void(const QRect &)> hook;
    return hook;
}

void setScreenGrabHook(std::function<void(const QRect &)> hook)
{
    grabHook() = std::move(hook);
}

QImage GrabScreenArea(const QRect &area)
{
    if (area.isEmpty())
        return {};
    if (grabHook())
        grabHook()(area);
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
