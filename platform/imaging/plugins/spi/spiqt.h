#pragma once
// Plug-ins that decode through Qt's image readers.
#include "spicommon.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

namespace spi {

// Writes a decoded picture: palette pictures as 8-bit with their colours,
// everything else as 24-bit (transparency is dropped).
inline int imageToDib(QImage image, SpiHandle *pInfo, SpiHandle *pBits)
{
    if (image.isNull())
        return SPI_BROKEN_DATA;
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Indexed8);
    Dib dib;
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() > 0 && image.colorCount() <= 256) {
        const QList<QRgb> table = image.colorTable();
        if (!dib.create(image.width(), image.height(), 8, int(table.size())))
            return dib.code;
        for (int i = 0; i < int(table.size()); ++i)
            dib.setColor(i, qRed(table[i]), qGreen(table[i]), qBlue(table[i]));
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(dib.row(y), image.constScanLine(y), size_t(image.width()));
    } else {
        image = image.convertToFormat(QImage::Format_RGB888);
        if (image.isNull())
            return SPI_NO_MEMORY;
        if (!dib.create(image.width(), image.height(), 24))
            return dib.code;
        for (int y = 0; y < image.height(); ++y) {
            const uchar *s = image.constScanLine(y);
            uchar *d = dib.row(y);
            for (int x = 0; x < image.width(); ++x, s += 3, d += 3) {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
        }
    }
    dib.handOver(pInfo, pBits);
    return SPI_OK;
}

// A reader for `format` over `bytes`, or the code why it cannot read them.
// `pixelsPerByte` is the most pixels the format can pack into one byte of the
// file: a header claiming more than the file can hold is refused unread.
struct QtDecode {
    int code = SPI_OK;
    QSize size;
    int depth = 0;
};

inline QtDecode probeWithQt(const QByteArray &bytes, const char *format, uint64_t pixelsPerByte)
{
    QtDecode d;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead()) {
        d.code = SPI_UNKNOWN_FORMAT;
        return d;
    }
    d.size = reader.size();
    if (!d.size.isValid()) {
        d.code = SPI_BROKEN_DATA;
        return d;
    }
    const uint64_t pixels = uint64_t(d.size.width()) * uint64_t(d.size.height());
    if (pixels > uint64_t(bytes.size()) * pixelsPerByte + 4096 || !sizeAllowed(d.size.width(), d.size.height(), 32)) {
        d.code = SPI_NO_MEMORY;
        return d;
    }
    const QImage::Format f = reader.imageFormat();
    d.depth = f == QImage::Format_Mono || f == QImage::Format_MonoLSB ? 1 : f == QImage::Format_Indexed8 ? 8
        : f == QImage::Format_Grayscale8 ? 8 : 24;
    return d;
}

inline int decodeWithQt(const QByteArray &bytes, const char *format, uint64_t pixelsPerByte, SpiHandle *pInfo,
                        SpiHandle *pBits)
{
    const QtDecode probe = probeWithQt(bytes, format, pixelsPerByte);
    if (probe.code != SPI_OK)
        return probe.code;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    QImage image;
    if (!reader.read(&image))
        return SPI_BROKEN_DATA;
    // The picture may come out larger than the header said (a GIF's frames).
    if (!sizeAllowed(image.width(), image.height(), 32))
        return SPI_NO_MEMORY;
    return imageToDib(image, pInfo, pBits);
}

// The whole input for Qt's readers, without a copy of the caller's block; null
// (and the code in `src`) when it cannot be read.
inline QByteArray asByteArray(Source &src)
{
    const unsigned char *p = src.whole();
    if (!p)
        return {};
    return QByteArray::fromRawData(reinterpret_cast<const char *>(p), qsizetype(src.size()));
}

} // namespace spi
