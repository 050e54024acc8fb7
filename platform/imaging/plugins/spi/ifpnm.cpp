// Portable any-map pictures. Raw bitmaps, grey maps and pixel maps of 8 bits
// (P4, P5, P6) are read straight into the bitmap's rows, the bytes the file
// says they take checked against the bytes it has first; plain (text) maps
// and maps of 16 bits go through Qt's reader.
#include "spiqt.h"

namespace {

struct Header {
    char kind = 0;
    uint64_t width = 0, height = 0, maxval = 1;
};

// The header's numbers (comments and white space between them), up to the
// one white space byte before the pixels. False when it is not one.
bool readHeader(spi::Reader &r, Header &h)
{
    const unsigned char *m = r.take(2);
    if (!m || m[0] != 'P' || m[1] < '1' || m[1] > '6')
        return false;
    h.kind = char(m[1]);
    const int count = h.kind == '1' || h.kind == '4' ? 2 : 3;
    uint64_t values[3] = {0, 0, 1};
    for (int i = 0; i < count; ++i) {
        const unsigned char *c = r.take(1);
        for (;;) {
            if (!c)
                return false;
            if (*c == '#') {
                while ((c = r.take(1)) && *c != '\n' && *c != '\r') {
                }
            } else if (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r' || *c == '\f' || *c == '\v') {
                c = r.take(1);
            } else {
                break;
            }
        }
        if (*c < '0' || *c > '9')
            return false;
        uint64_t v = 0;
        while (c && *c >= '0' && *c <= '9') {
            v = v * 10 + unsigned(*c - '0');
            if (v > 0xFFFFFFFFu)
                return false;
            c = r.take(1);
        }
        // One white space byte ends the last number.
        if (!c || !(*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r' || *c == '\f' || *c == '\v'))
            return false;
        values[i] = v;
    }
    h.width = values[0];
    h.height = values[1];
    h.maxval = values[2];
    return true;
}

int decodeRaw(spi::Reader &r, const Header &h, SpiHandle *pInfo, SpiHandle *pBits)
{
    if (h.width == 0 || h.height == 0 || h.maxval == 0)
        return SPI_BROKEN_DATA;
    const int bits = h.kind == '4' ? 1 : h.kind == '5' ? 8 : 24;
    const uint64_t rowBytes = (h.width * uint64_t(bits) + 7) / 8;
    // Cut short: refused before any memory is taken.
    if (h.height > r.left() / rowBytes)
        return SPI_BROKEN_DATA;
    if (!spi::sizeAllowed(int64_t(h.width), int64_t(h.height), bits))
        return SPI_NO_MEMORY;
    spi::Dib dib;
    if (!dib.create(int32_t(h.width), int32_t(h.height), bits, bits == 1 ? 2 : bits == 8 ? 256 : 0))
        return dib.code;
    // Samples below the largest value are widened through the colour table
    // (grey) or a table of 256 (colour); 1 is black in a bitmap.
    unsigned char scale[256];
    for (unsigned i = 0; i < 256; ++i)
        scale[i] = (unsigned char)std::min<uint64_t>(255, (i * 255 + h.maxval / 2) / h.maxval);
    if (bits == 1) {
        dib.setColor(0, 255, 255, 255);
        dib.setColor(1, 0, 0, 0);
    } else if (bits == 8) {
        for (int i = 0; i < 256; ++i)
            dib.setColor(i, scale[i], scale[i], scale[i]);
    }
    const bool widen = bits == 24 && h.maxval != 255;
    // Rows are read a batch at a time straight into the bitmap, and colour
    // rows turned into its order while the batch is still in the cache.
    const size_t batch = std::max<size_t>(1, (size_t(1) << 18) / rowBytes);
    const ptrdiff_t step = -ptrdiff_t(dib.stride());
    for (int32_t y = 0; y < dib.height(); y += int32_t(batch)) {
        const size_t n = std::min<size_t>(batch, size_t(dib.height() - y));
        if (!r.copyRows(dib.row(y), step, n, size_t(rowBytes)))
            return SPI_BROKEN_DATA;
        for (size_t k = 0; bits == 24 && k < n; ++k) {
            unsigned char *d = dib.row(y + int32_t(k));
            spi::swapRedBlue(d, d, size_t(h.width));
            for (size_t i = 0; widen && i < size_t(rowBytes); ++i)
                d[i] = scale[d[i]];
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
    {
        spi::Reader r(src);
        Header h;
        if (readHeader(r, h) && h.kind >= '4' && h.maxval <= 255)
            return decodeRaw(r, h, pHBInfo, pHBm);
    }
    char magic[2];
    if (!src.readAt(0, magic, 2) || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6')
        return SPI_UNKNOWN_FORMAT;
    // Raw bitmaps pack eight pixels into a byte; nothing packs more.
    return spi::decodeWithQt(src, "ppm", 8, pHBInfo, pHBm);
}
