#pragma once
// Plug-ins that decode through Qt's image readers.
#include "spicommon.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <memory>

namespace spi {

// Writes a picture Qt decoded into memory of its own: palette pictures as
// 8-bit with their colours, the rest as 32-bit (blue, green, red, alpha),
// one copy of each row.
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
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
            image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (image.isNull())
            return SPI_NO_MEMORY;
        if (!dib.create(image.width(), image.height(), 32))
            return dib.code;
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(dib.row(y), image.constScanLine(y), size_t(image.width()) * 4);
    }
    dib.handOver(pInfo, pBits);
    return SPI_OK;
}

// The input as a device for Qt's readers: the caller's block in place, or the
// file read through Qt's own small buffer (never copied whole).
inline std::unique_ptr<QIODevice> deviceOf(Source &src)
{
    if (const unsigned char *p = src.memory()) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(QByteArray::fromRawData(reinterpret_cast<const char *>(p), qsizetype(src.size())));
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(src.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle) || !file->seek(0))
        return nullptr;
    return file;
}

// The size a reader for `format` finds in the header, with the reader's
// code: a header claiming more pixels than `pixelsPerByte` for each byte of
// the file (the most the format packs into one) is refused unread.
struct QtProbe {
    int code = SPI_OK;
    QSize size;
    QImage::Format format = QImage::Format_Invalid;
};

inline QtProbe probe(QImageReader &reader, uint64_t fileBytes, uint64_t pixelsPerByte)
{
    QtProbe d;
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
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
    if (pixels > fileBytes * pixelsPerByte + 4096 || !sizeAllowed(d.size.width(), d.size.height(), 32)) {
        d.code = SPI_NO_MEMORY;
        return d;
    }
    d.format = reader.imageFormat();
    return d;
}

// Qt's readers decode into the picture handed to them when its size and
// format are the ones they chose: the bitmap's own block is handed over, so
// the rows are written once, where they stay. Qt writes them top row first;
// they are turned over in place afterwards (no host has to read top-down
// bitmaps). Readers that take memory of their own go through one copy.
inline int decodeWithQt(Source &src, const char *format, uint64_t pixelsPerByte, SpiHandle *pInfo, SpiHandle *pBits)
{
    const std::unique_ptr<QIODevice> device = deviceOf(src);
    if (!device)
        return SPI_READ_ERROR;
    QImageReader reader(device.get(), format);
    const QtProbe p = probe(reader, src.size(), pixelsPerByte);
    if (p.code != SPI_OK)
        return p.code;
    const QImage::Format f = p.format;
    const int bits = f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ? 32
        : f == QImage::Format_Grayscale8 || f == QImage::Format_Indexed8      ? 8
        : f == QImage::Format_Mono                                            ? 1
                                                                              : 0;
    Dib dib;
    QImage image;
    if (bits) {
        if (!dib.create(p.size.width(), p.size.height(), bits, bits == 32 ? 0 : bits == 8 ? 256 : 2))
            return dib.code;
        image = QImage(dib.bits(), p.size.width(), p.size.height(), qsizetype(dib.stride()), f);
    }
    if (!reader.read(&image) || image.isNull())
        return SPI_BROKEN_DATA;
    if (!bits || image.constBits() != dib.bits() || image.size() != p.size || image.format() != f) {
        // The reader took memory of its own after all (or a GIF's frames
        // came out larger than its header said).
        if (!sizeAllowed(image.width(), image.height(), 32))
            return SPI_NO_MEMORY;
        return imageToDib(image, pInfo, pBits);
    }
    const QList<QRgb> table = image.colorTable();
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            const QRgb c = f == QImage::Format_Grayscale8 ? qRgb(i, i, i)
                : i < table.size()                        ? table[i]
                                                          : qRgb(0, 0, 0);
            dib.setColor(i, qRed(c), qGreen(c), qBlue(c));
        }
    } else if (bits == 1) {
        for (int i = 0; i < 2; ++i) {
            const QRgb c = i < table.size() ? table[i] : qRgb(i * 255, i * 255, i * 255);
            dib.setColor(i, qRed(c), qGreen(c), qBlue(c));
        }
    }
    image = QImage();
    dib.flipRows();
    dib.handOver(pInfo, pBits);
    return SPI_OK;
}

} // namespace spi
