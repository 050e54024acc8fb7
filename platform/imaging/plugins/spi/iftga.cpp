// Targa pictures: colour-mapped, true-colour and grey, plain or run-length,
// with the pixels other readers give (colours of 5 bits widened as v*255/31,
// alpha kept as stored, map entries outside the map as the common readers
// show them). TGA has no signature, so every header field is checked, and
// every length against the bytes the file still holds, before any pixel
// memory is taken.
#include "spicommon.h"

namespace {

struct Header {
    unsigned idLength, mapType, type, mapFirst, mapLength, mapBits, width, height, depth, descriptor;
};

unsigned le16(const unsigned char *p)
{
    return p[0] | (unsigned(p[1]) << 8);
}

unsigned widen5(unsigned v)
{
    return (v & 31) * 255 / 31;
}

// How a row of the file becomes a row of the bitmap.
enum class Out {
    Same,      // same bytes: 8-bit indices or grey, 24-bit BGR, 32-bit BGRA
    Rgb555,    // 15/16-bit pixels to 24-bit
    GreyAlpha, // 16-bit grey and alpha to 32-bit
    MapAlpha,  // 8-bit indices through a map with alpha to 32-bit
    Mono,      // 1-bit grey
};

struct Plan {
    Header h;
    unsigned pixelBytes = 0; // in the file (0 for 1-bit)
    unsigned outBits = 0;    // of the bitmap
    Out out = Out::Same;
    bool rle = false;
    bool topDown = false;
    bool rightToLeft = false;
    uint64_t dataAt = 0;     // first byte of the pixels
    unsigned char palette[256][4]; // blue, green, red, alpha
};

int readHeader(const spi::Source &src, Plan &p)
{
    unsigned char b[18];
    if (!src.readAt(0, b, sizeof b))
        return SPI_UNKNOWN_FORMAT;
    Header &h = p.h;
    h = {b[0], b[1], b[2], le16(b + 3), le16(b + 5), b[7], le16(b + 12), le16(b + 14), b[16], b[17]};
    const unsigned kind = h.type & 7;
    if ((kind != 1 && kind != 2 && kind != 3) || (h.type & ~11u) != 0 || h.mapType > 1)
        return SPI_UNKNOWN_FORMAT;
    p.rle = (h.type & 8) != 0;
    if (kind == 1 && h.depth != 8)
        return SPI_UNKNOWN_FORMAT;
    if (kind == 2 && h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32)
        return SPI_UNKNOWN_FORMAT;
    if (kind == 3 && h.depth != 8 && h.depth != 16 && !(h.depth == 1 && !p.rle))
        return SPI_UNKNOWN_FORMAT;
    if (h.width == 0 || h.height == 0)
        return SPI_BROKEN_DATA;
    if (h.mapType == 1 && h.mapBits != 15 && h.mapBits != 16 && h.mapBits != 24 && h.mapBits != 32)
        return SPI_BROKEN_DATA;
    // An index can reach 255 at most; a longer map is no map of 8-bit pixels.
    if (kind == 1 && h.mapType == 1 && h.mapFirst + h.mapLength > 256)
        return SPI_BROKEN_DATA;
    p.topDown = (h.descriptor & 0x20) != 0;
    p.rightToLeft = (h.descriptor & 0x10) != 0;

    const uint64_t mapBytes = h.mapType ? uint64_t(h.mapLength) * ((h.mapBits + 7) / 8) : 0;
    p.dataAt = 18 + uint64_t(h.idLength) + mapBytes;
    if (p.dataAt > src.size())
        return SPI_BROKEN_DATA;
    const uint64_t left = src.size() - p.dataAt;
    const uint64_t pixels = uint64_t(h.width) * h.height;
    p.pixelBytes = (h.depth + 7) / 8;
    if (h.depth == 1) {
        if (uint64_t((h.width + 7) / 8) * h.height > left)
            return SPI_BROKEN_DATA;
    } else if (!p.rle) {
        if (pixels * p.pixelBytes > left)
            return SPI_BROKEN_DATA; // cut short
    } else if (pixels > (left + p.pixelBytes) / (1 + p.pixelBytes) * 128) {
        // A packet of one header and one pixel stands for at most 128 pixels.
        return SPI_BROKEN_DATA;
    }

    switch (kind) {
    case 1:
        p.out = h.mapType && h.mapBits == 32 ? Out::MapAlpha : Out::Same;
        p.outBits = p.out == Out::MapAlpha ? 32 : 8;
        break;
    case 2:
        p.out = h.depth <= 16 ? Out::Rgb555 : Out::Same;
        p.outBits = h.depth <= 16 ? 24 : h.depth;
        break;
    default:
        p.out = h.depth == 1 ? Out::Mono : h.depth == 16 ? Out::GreyAlpha : Out::Same;
        p.outBits = h.depth == 1 ? 1 : h.depth == 16 ? 32 : 8;
        break;
    }
    return spi::sizeAllowed(h.width, h.height, int(p.outBits)) ? SPI_OK : SPI_NO_MEMORY;
}

// Indices beyond the map show grey (their own value), indices before its
// first entry black, as the common readers show them.
bool readPalette(const spi::Source &src, Plan &p)
{
    const Header &h = p.h;
    for (unsigned i = 0; i < 256; ++i) {
        const unsigned char v = (unsigned char)i;
        p.palette[i][0] = p.palette[i][1] = p.palette[i][2] = v;
        p.palette[i][3] = 255;
    }
    if ((h.type & 7) != 1 || !h.mapType)
        return true;
    const unsigned entryBytes = (h.mapBits + 7) / 8;
    unsigned char map[256 * 4];
    if (!src.readAt(18 + h.idLength, map, size_t(h.mapLength) * entryBytes))
        return false;
    for (unsigned i = 0; i < h.mapFirst; ++i)
        p.palette[i][0] = p.palette[i][1] = p.palette[i][2] = p.palette[i][3] = 0;
    for (unsigned i = 0; i < h.mapLength; ++i) {
        const unsigned char *e = map + size_t(i) * entryBytes;
        unsigned char *q = p.palette[h.mapFirst + i];
        if (entryBytes == 2) {
            const unsigned v = le16(e);
            q[0] = (unsigned char)widen5(v);
            q[1] = (unsigned char)widen5(v >> 5);
            q[2] = (unsigned char)widen5(v >> 10);
            q[3] = 255;
        } else {
            q[0] = e[0];
            q[1] = e[1];
            q[2] = e[2];
            q[3] = entryBytes == 4 ? e[3] : 255;
        }
    }
    return true;
}

// One row of file pixels (`n` of them at `s`) into the bitmap's row.
void convertRow(const Plan &p, const unsigned char *s, unsigned char *d, unsigned n)
{
    switch (p.out) {
    case Out::Same:
        if (s != d)
            std::memcpy(d, s, size_t(n) * p.pixelBytes);
        break;
    case Out::Rgb555:
        // The top bit (alpha or nothing) is left out, as the common readers do.
        for (unsigned x = 0; x < n; ++x, s += 2, d += 3) {
            const unsigned v = le16(s);
            d[0] = (unsigned char)widen5(v);
            d[1] = (unsigned char)widen5(v >> 5);
            d[2] = (unsigned char)widen5(v >> 10);
        }
        break;
    case Out::GreyAlpha:
        for (unsigned x = 0; x < n; ++x, s += 2, d += 4) {
            d[0] = d[1] = d[2] = s[0];
            d[3] = s[1];
        }
        break;
    case Out::MapAlpha:
        for (unsigned x = 0; x < n; ++x, d += 4)
            std::memcpy(d, p.palette[s[x]], 4);
        break;
    case Out::Mono:
        if (s != d)
            std::memcpy(d, s, (n + 7) / 8);
        break;
    }
}

void mirrorRow(const Plan &p, unsigned char *row, unsigned width)
{
    if (p.out == Out::Mono) {
        auto bit = [row](unsigned x) { return (row[x / 8] >> (7 - x % 8)) & 1; };
        for (unsigned a = 0, b = width - 1; a < b; ++a, --b) {
            const unsigned va = bit(a), vb = bit(b);
            row[a / 8] = (unsigned char)((row[a / 8] & ~(0x80 >> (a % 8))) | (vb << (7 - a % 8)));
            row[b / 8] = (unsigned char)((row[b / 8] & ~(0x80 >> (b % 8))) | (va << (7 - b % 8)));
        }
        return;
    }
    const unsigned size = p.outBits / 8;
    unsigned char t[4];
    for (unsigned a = 0, b = width - 1; a < b; ++a, --b) {
        std::memcpy(t, row + size_t(a) * size, size);
        std::memcpy(row + size_t(a) * size, row + size_t(b) * size, size);
        std::memcpy(row + size_t(b) * size, t, size);
    }
}

// Run-length packets may run on from one row into the next (older writers
// do that); a packet is never trusted beyond the bytes left.
class Unpacker {
public:
    Unpacker(spi::Reader &r, unsigned pixelBytes) : r_(r), size_(pixelBytes) {}
    bool row(unsigned char *d, unsigned width)
    {
        unsigned done = 0;
        while (done < width) {
            if (count_ == 0) {
                const unsigned char *head = r_.take(1);
                if (!head)
                    return false;
                count_ = (head[0] & 0x7F) + 1u;
                run_ = (head[0] & 0x80) != 0;
                if (run_) {
                    const unsigned char *px = r_.take(size_);
                    if (!px)
                        return false;
                    std::memcpy(pixel_, px, size_);
                }
            }
            const unsigned n = std::min(count_, width - done);
            unsigned char *out = d + size_t(done) * size_;
            if (run_) {
                if (size_ == 1) {
                    std::memset(out, pixel_[0], n);
                } else {
                    for (unsigned i = 0; i < n; ++i, out += size_)
                        std::memcpy(out, pixel_, size_);
                }
            } else if (!r_.copy(out, size_t(n) * size_)) {
                return false;
            }
            count_ -= n;
            done += n;
        }
        return true;
    }

private:
    spi::Reader &r_;
    unsigned size_;
    unsigned count_ = 0;
    bool run_ = false;
    unsigned char pixel_[4] = {};
};

int decode(spi::Source &src, SpiHandle *pInfo, SpiHandle *pBits)
{
    Plan p;
    if (const int code = readHeader(src, p); code != SPI_OK)
        return code;
    if (!readPalette(src, p))
        return SPI_BROKEN_DATA;
    const Header &h = p.h;
    spi::Dib dib;
    const int colors = p.outBits == 8 ? 256 : p.outBits == 1 ? 2 : 0;
    if (!dib.create(int32_t(h.width), int32_t(h.height), int(p.outBits), colors))
        return dib.code;
    if (p.outBits == 8) {
        for (int i = 0; i < 256; ++i)
            dib.setColor(i, p.palette[i][2], p.palette[i][1], p.palette[i][0]);
    } else if (p.outBits == 1) {
        dib.setColor(0, 0, 0, 0);
        dib.setColor(1, 255, 255, 255);
    }

    const size_t fileRow = p.out == Out::Mono ? (h.width + 7) / 8 : size_t(h.width) * p.pixelBytes;
    // Plain rows in the bitmap's own order and layout are read straight into it.
    if (!p.rle && !p.topDown && !p.rightToLeft && p.out == Out::Same && fileRow == dib.stride()) {
        if (!src.readAt(p.dataAt, dib.bits(), fileRow * h.height))
            return SPI_BROKEN_DATA;
        dib.handOver(pInfo, pBits);
        return SPI_OK;
    }

    spi::Reader reader(src, p.dataAt);
    Unpacker unpack(reader, p.pixelBytes);
    std::vector<unsigned char> line;
    const bool inPlace = p.out == Out::Same || p.out == Out::Mono;
    if (!inPlace)
        line.resize(fileRow);
    // Plain rows kept as they are come a batch at a time straight into the
    // bitmap; plain rows to convert are converted from the read buffer.
    const size_t batch = !p.rle && inPlace ? std::max<size_t>(1, (size_t(1) << 18) / fileRow) : 1;
    const ptrdiff_t step = p.topDown ? -ptrdiff_t(dib.stride()) : ptrdiff_t(dib.stride());
    for (unsigned i = 0; i < h.height;) {
        const size_t n = std::min<size_t>(batch, h.height - i);
        if (!p.rle && inPlace) {
            if (!reader.copyRows(dib.row(int32_t(p.topDown ? i : h.height - 1 - i)), step, n, fileRow))
                return SPI_BROKEN_DATA; // cut short
        }
        for (size_t k = 0; k < n; ++k, ++i) {
            const int32_t y = int32_t(p.topDown ? i : h.height - 1 - i);
            unsigned char *d = dib.row(y);
            const unsigned char *s = d;
            if (p.rle) {
                if (!unpack.row(inPlace ? d : line.data(), h.width))
                    return SPI_BROKEN_DATA;
                s = inPlace ? d : line.data();
            } else if (!inPlace) {
                if (fileRow <= spi::Reader::kBuffer)
                    s = reader.take(fileRow);
                else
                    s = reader.copy(line.data(), fileRow) ? line.data() : nullptr;
                if (!s)
                    return SPI_BROKEN_DATA;
            }
            convertRow(p, s, d, h.width);
            if (p.rightToLeft)
                mirrorRow(p, d, h.width);
        }
    }
    dib.handOver(pInfo, pBits);
    return SPI_OK;
}

} // namespace

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    return decode(src, pHBInfo, pHBm);
}
