#include "pictureclaim.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vx {

namespace {

std::atomic<qint64> memoryCap{0};

// Random reads that leave the device where it was.
class Bytes {
public:
    explicit Bytes(QIODevice &d) : d_(d), start_(d.pos()) {}
    ~Bytes() { d_.seek(start_); }
    qint64 total() const { return d_.size(); }
    QByteArray at(qint64 pos, qint64 n)
    {
        if (pos < 0 || n <= 0 || !d_.seek(pos))
            return {};
        return d_.read(n);
    }

private:
    QIODevice &d_;
    qint64 start_;
};

quint32 be16(const QByteArray &b, int i) { return (quint32(uchar(b[i])) << 8) | uchar(b[i + 1]); }
quint32 be32(const QByteArray &b, int i) { return (be16(b, i) << 16) | be16(b, i + 2); }
quint32 le16(const QByteArray &b, int i) { return (quint32(uchar(b[i + 1])) << 8) | uchar(b[i]); }
quint32 le32(const QByteArray &b, int i) { return (le16(b, i + 2) << 16) | le16(b, i); }

constexpr qint64 kMaxSide = 1 << 30;

PictureClaim claim(qint64 w, qint64 h, bool plausible)
{
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide)
        return {};
    // QSize holds ints; anything beyond is refused by the memory limit anyway.
    return {QSize(int(std::min<qint64>(w, INT_MAX)), int(std::min<qint64>(h, INT_MAX))), plausible};
}

bool isSof(int m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

PictureClaim jpegClaim(Bytes &f)
{
    qint64 pos = 2;
    for (int segments = 0; segments < 100000; ++segments) {
        const QByteArray m = f.at(pos, 2);
        if (m.size() < 2 || uchar(m[0]) != 0xFF)
            return {};
        const int code = uchar(m[1]);
        if (code == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (code == 0xD8 || code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (code == 0xD9 || code == 0xDA) // end or scan data before any frame
            return {};
        const QByteArray len = f.at(pos + 2, 2);
        if (len.size() < 2 || be16(len, 0) < 2)
            return {};
        if (isSof(code)) {
            const QByteArray sof = f.at(pos + 4, 6);
            if (sof.size() < 6)
                return {};
            const qint64 h = be16(sof, 1);
            const qint64 w = be16(sof, 3);
            // The largest component is at full size; each of its 8 x 8 blocks
            // takes at least one bit with Huffman codes. The arithmetic coder
            // can go far below a bit, so only a loose floor holds there.
            const qint64 blocks = ((w + 7) / 8) * ((h + 7) / 8);
            const bool arithmetic = code >= 0xC9;
            const qint64 bytes = f.total();
            return claim(w, h, arithmetic ? bytes * 262144 >= blocks : bytes * 8 >= blocks);
        }
        pos += 2 + be16(len, 0);
    }
    return {};
}

// Bytes of filtered rows a PNG of this header inflates to (each row has a filter byte).
qint64 pngRawBytes(qint64 w, qint64 h, int depth, int colourType)
{
    int channels = 0;
    switch (colourType) {
    case 0: case 3: channels = 1; break;
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: return -1;
    }
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)
        return -1;
    return h * (1 + (w * channels * depth + 7) / 8);
}

PictureClaim pngClaim(const QByteArray &ihdrChunk, qint64 bytes)
{
    // length, "IHDR", width, height, depth, colour type
    if (ihdrChunk.size() < 18 || std::memcmp(ihdrChunk.constData() + 4, "IHDR", 4) != 0)
        return {};
    const qint64 w = be32(ihdrChunk, 8);
    const qint64 h = be32(ihdrChunk, 12);
    const qint64 raw = pngRawBytes(w, h, uchar(ihdrChunk[16]), uchar(ihdrChunk[17]));
    if (raw < 0)
        return {};
    // Deflate's best case: a length-258 match in two bits, 1032 to one.
    return claim(w, h, bytes * 1032 >= raw);
}

// Every chunk but IDAT against the bytes left: the reader takes an ancillary
// chunk's claimed length in memory before reading it (a text chunk of 78
// bytes can claim 2 GB). IDAT is read as it comes, so a file cut short in its
// picture data still shows what arrived.
bool pngChunksFit(Bytes &f)
{
    const qint64 total = f.total();
    qint64 pos = 8;
    while (pos + 8 <= total) {
        const QByteArray head = f.at(pos, 8);
        if (head.size() < 8)
            return true;
        const qint64 length = be32(head, 0);
        const bool data = std::memcmp(head.constData() + 4, "IDAT", 4) == 0;
        if (!data && length > total - pos - 12)
            return false;
        if (std::memcmp(head.constData() + 4, "IEND", 4) == 0)
            return true;
        pos += 12 + length;
    }
    return true;
}

PictureClaim gifClaim(Bytes &f)
{
    const QByteArray head = f.at(0, 13);
    if (head.size() < 13)
        return {};
    qint64 w = le16(head, 6);
    qint64 h = le16(head, 8);
    qint64 pos = 13;
    if (uchar(head[10]) & 0x80)
        pos += 3 * (qint64(2) << (uchar(head[10]) & 7));
    // The first frame may be larger than the screen it claims.
    for (int blocks = 0; blocks < 100000; ++blocks) {
        const QByteArray b = f.at(pos, 1);
        if (b.isEmpty())
            break;
        if (uchar(b[0]) == 0x2C) {
            const QByteArray d = f.at(pos + 1, 8);
            if (d.size() == 8) {
                w = std::max<qint64>(w, le16(d, 4));
                h = std::max<qint64>(h, le16(d, 6));
            }
            break;
        }
        if (uchar(b[0]) != 0x21)
            break;
        pos += 2; // introducer and label, then sub-blocks up to an empty one
        for (;;) {
            const QByteArray n = f.at(pos, 1);
            if (n.isEmpty())
                return {};
            pos += 1 + uchar(n[0]);
            if (uchar(n[0]) == 0)
                break;
        }
    }
    // LZW: a full 12-bit table's code stands for at most about 4090 pixels.
    return claim(w, h, f.total() * 2800 >= w * h);
}

PictureClaim bmpClaim(const QByteArray &info, qint64 bytes)
{
    // `info` starts at the info header.
    if (info.size() < 12)
        return {};
    const quint32 size = le32(info, 0);
    qint64 w, h;
    int bpp;
    quint32 compression = 0;
    if (size == 12) {
        w = qint16(le16(info, 4));
        h = qint16(le16(info, 6));
        bpp = int(le16(info, 10));
    } else {
        if (size < 16 || info.size() < 20)
            return {};
        w = qint32(le32(info, 4));
        h = qint32(le32(info, 8));
        bpp = int(le16(info, 14));
        compression = info.size() >= 20 ? le32(info, 16) : 0;
    }
    h = h < 0 ? -h : h;
    if (bpp <= 0 || bpp > 64)
        return {};
    const qint64 stride = ((w * bpp + 31) / 32) * 4;
    const bool plain = compression == 0 || compression == 3 || compression == 6;
    // RLE: an escape of four bytes may skip 255 x 255 pixels.
    return claim(w, h, plain ? bytes >= stride * h : bytes * 16256 >= w * h);
}

PictureClaim icoClaim(Bytes &f)
{
    const QByteArray dir = f.at(0, 22);
    if (dir.size() < 22 || le16(dir, 4) == 0)
        return {};
    const qint64 w = uchar(dir[6]) ? uchar(dir[6]) : 256;
    const qint64 h = uchar(dir[7]) ? uchar(dir[7]) : 256;
    const qint64 bytes = std::min<qint64>(le32(dir, 14), f.total() - qint64(le32(dir, 18)));
    const QByteArray own = f.at(le32(dir, 18), 40);
    if (own.size() < 16 || bytes <= 0)
        return {};
    PictureClaim c;
    if (own.startsWith("\x89PNG\r\n\x1A\n")) {
        c = pngClaim(own.mid(8), bytes);
    } else {
        // The bitmap's height covers the picture and its mask.
        QByteArray info = own;
        const qint64 ih = qint32(le32(info, 8)) / 2;
        const quint32 half = quint32(ih);
        for (int i = 0; i < 4; ++i)
            info[8 + i] = char((half >> (8 * i)) & 0xFF);
        c = bmpClaim(info, bytes);
    }
    if (c.size.isEmpty())
        return {};
    return claim(std::max<qint64>(w, c.size.width()), std::max<qint64>(h, c.size.height()), c.plausible);
}

qint64 memAvailable()
{
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("MemAvailable:")) {
            bool ok = false;
            const qint64 kb = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kb * 1024 : -1;
        }
    }
    return -1;
}

} // namespace

PictureClaim ReadPictureClaim(QIODevice &device, const QString &format)
{
    if (device.isSequential())
        return {};
    Bytes f(device);
    if (format == QLatin1String("jpeg"))
        return jpegClaim(f);
    if (format == QLatin1String("png")) {
        PictureClaim c = pngClaim(f.at(8, 18), f.total());
        c.plausible = c.plausible && pngChunksFit(f);
        return c;
    }
    if (format == QLatin1String("gif"))
        return gifClaim(f);
    if (format == QLatin1String("bmp"))
        return bmpClaim(f.at(14, 20), f.total() - 14);
    if (format == QLatin1String("ico") || format == QLatin1String("cur"))
        return icoClaim(f);
    return {};
}

qint64 PictureMemoryLimit()
{
    qint64 limit = qint64(2) << 30;
    const qint64 available = memAvailable();
    if (available >= 0)
        limit = std::min(limit, available / 2);
    const qint64 cap = memoryCap.load();
    return cap > 0 ? std::min(limit, cap) : limit;
}

void setPictureMemoryCap(qint64 bytes)
{
    memoryCap = bytes;
}

qint64 PictureBytes(QSize size, QImage::Format format)
{
    if (size.isEmpty())
        return 0;
    const qint64 pixels = qint64(size.width()) * size.height();
    const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    // Any other depth is also painted from a 32-bit copy.
    return bits == 32 ? pixels * 4 : (pixels * bits + 7) / 8 + pixels * 4;
}

} // namespace vx
