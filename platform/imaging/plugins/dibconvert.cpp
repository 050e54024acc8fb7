#include "dibconvert.h"

#include "spiabi.h"

#include <cstring>
#include <limits>
#include <new>

namespace vx {

namespace {

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

// One channel of a masked pixel, scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;
    bool set(quint32 m)
    {
        mask = m;
        if (!m)
            return true;
        shift = __builtin_ctz(m);
        const quint32 v = m >> shift;
        if ((v & (v + 1)) != 0) // not one run of bits
            return false;
        max = v;
        return true;
    }
    int of(quint32 px) const { return max ? int(((px & mask) >> shift) * 255 / max) : 0; }
};

} // namespace

QImage ConvertDib(const unsigned char *info, size_t infoBytes, const unsigned char *bits, size_t bitsBytes,
                  qint64 memoryLimit)
{
    if (!info || !bits || infoBytes < sizeof(SpiBitmapInfoHeader))
        return {};
    SpiBitmapInfoHeader h;
    std::memcpy(&h, info, sizeof h);
    if (h.biSize < 40 || h.biSize > infoBytes || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == std::numeric_limits<qint32>::min() || h.biPlanes != 1)
        return {};
    const int depth = h.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return {};
    const bool masked = h.biCompression == SPI_BI_BITFIELDS;
    if (h.biCompression != SPI_BI_RGB && !(masked && (depth == 16 || depth == 32)))
        return {};
    const quint64 width = quint64(h.biWidth);
    const bool topDown = h.biHeight < 0;
    const quint64 height = topDown ? quint64(-qint64(h.biHeight)) : quint64(h.biHeight);
    if (width > 0x7FFFFFFF / 32 || height > 0x7FFFFFFF)
        return {};
    const quint64 stride = ((width * quint64(depth) + 31) / 32) * 4;
    if (height > std::numeric_limits<quint64>::max() / stride || stride * height > bitsBytes)
        return {};
    if (width > quint64(std::numeric_limits<int>::max()) || height > quint64(std::numeric_limits<int>::max()) ||
        width * height > quint64(memoryLimit) / 4)
        return {};

    // The colour table (or the channel masks) follows the header.
    QList<QRgb> table;
    Channel r, g, b;
    if (depth <= 8) {
        const quint64 count = h.biClrUsed ? h.biClrUsed : (1u << depth);
        if (count > (1u << depth) || h.biSize + count * 4 > infoBytes)
            return {};
        const unsigned char *t = info + h.biSize;
        for (quint64 i = 0; i < count; ++i)
            table.append(qRgb(t[i * 4 + 2], t[i * 4 + 1], t[i * 4]));
    } else if (masked) {
        if (infoBytes < 52)
            return {};
        const unsigned char *m = info + 40; // the masks stand in the longer headers at the same place
        if (!r.set(le32(m)) || !g.set(le32(m + 4)) || !b.set(le32(m + 8)))
            return {};
    } else if (depth == 16) {
        r.set(0x7C00);
        g.set(0x03E0);
        b.set(0x001F);
    }

    QImage image;
    try {
        image = QImage(int(width), int(height), QImage::Format_RGB32);
    } catch (const std::bad_alloc &) {
        return {};
    }
    if (image.isNull())
        return {};
    const QRgb black = qRgb(0, 0, 0);
    for (quint64 y = 0; y < height; ++y) {
        const unsigned char *row = bits + (topDown ? y : height - 1 - y) * stride;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (quint64 x = 0; x < width; ++x) {
            switch (depth) {
            case 1:
            case 4:
            case 8: {
                const quint64 bit = x * quint64(depth);
                const unsigned byte = row[bit / 8];
                const unsigned index = (byte >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
                out[x] = index < unsigned(table.size()) ? table[index] : black;
                break;
            }
            case 16: {
                const quint32 px = quint32(row[x * 2]) | (quint32(row[x * 2 + 1]) << 8);
                out[x] = qRgb(r.of(px), g.of(px), b.of(px));
                break;
            }
            case 24:
                out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            case 32: {
                const quint32 px = le32(row + x * 4);
                out[x] = masked ? qRgb(r.of(px), g.of(px), b.of(px)) : qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
                break;
            }
            }
        }
    }
    return image;
}

} // namespace vx
