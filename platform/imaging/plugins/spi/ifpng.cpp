// PNG pictures through libpng, PCX pictures through a reader of our own.
#include "spicommon.h"

#include <csetjmp>
#include <png.h>

namespace {

bool isPng(const spi::Source &src)
{
    unsigned char b[8];
    return src.readAt(0, b, 8) && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0;
}

uint32_t be32(const unsigned char *p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Every chunk up to the end chunk lies inside the file. The reader would
// otherwise take memory for the length a chunk header claims (up to 2 GB for
// a text chunk) before it finds the bytes missing.
bool chunksInside(const spi::Source &src)
{
    uint64_t at = 8;
    unsigned char head[8];
    while (src.readAt(at, head, 8)) {
        const uint32_t length = be32(head);
        // Length, type, data and check sum.
        if (length > 0x7FFFFFFFu || uint64_t(length) + 12 > src.size() - at)
            return false;
        if (std::memcmp(head + 4, "IEND", 4) == 0)
            return true;
        at += uint64_t(length) + 12;
    }
    return false; // no end chunk, or a header cut short
}

unsigned le16(const unsigned char *p)
{
    return p[0] | (unsigned(p[1]) << 8);
}

// PCX: a 128-byte header, then each row's planes run-length coded one after
// another (a byte of the top two bits set repeats the next byte 1 to 63
// times; a run may go on into the next row), then for 8-bit pictures a
// marker byte 12 and 256 colours at the end of the file.
// The 16 colours of the old colour adapters, the default header palette.
const unsigned char kDefaultColours[48] = {0,   0,   0,   0,   0,   170, 0,   170, 0,   0,   170, 170,
                                           170, 0,   0,   170, 0,   170, 170, 85,  0,   170, 170, 170,
                                           85,  85,  85,  85,  85,  255, 85,  255, 85,  85,  255, 255,
                                           255, 85,  85,  255, 85,  255, 255, 255, 85,  255, 255, 255};

struct Pcx {
    unsigned bits, planes, bytesPerLine;
    int32_t width, height;
    unsigned char header[128];
};

int decodePcx(const spi::Source &src, SpiHandle *pInfo, SpiHandle *pBits)
{
    Pcx p;
    if (!src.readAt(0, p.header, 128) || p.header[0] != 0x0A || p.header[2] > 1)
        return SPI_UNKNOWN_FORMAT;
    const unsigned char *h = p.header;
    p.bits = h[3];
    p.planes = h[65];
    p.bytesPerLine = le16(h + 66);
    p.width = int32_t(le16(h + 8)) - int32_t(le16(h + 4)) + 1;
    p.height = int32_t(le16(h + 10)) - int32_t(le16(h + 6)) + 1;
    const bool planar = p.bits == 1 && p.planes >= 2 && p.planes <= 4;
    const bool packed = (p.bits == 1 || p.bits == 2 || p.bits == 4 || p.bits == 8) && p.planes == 1;
    const bool rgb = p.bits == 8 && p.planes == 3;
    if (!planar && !packed && !rgb)
        return SPI_UNKNOWN_FORMAT;
    if (p.width <= 0 || p.height <= 0 || p.bytesPerLine == 0 ||
        uint64_t(p.bytesPerLine) * 8 < uint64_t(p.width) * p.bits)
        return SPI_BROKEN_DATA;
    // A run costs two bytes of the file and stands for at most 63 bytes of rows.
    const uint64_t lineBytes = uint64_t(p.bytesPerLine) * p.planes;
    if (lineBytes * uint64_t(p.height) > (src.size() - 128) * 32 + 63)
        return SPI_BROKEN_DATA;
    const int outBits = rgb ? 24 : p.bits == 1 && p.planes == 1 ? 1 : 8;
    if (!spi::sizeAllowed(p.width, p.height, outBits))
        return SPI_NO_MEMORY;

    spi::Dib dib;
    if (!dib.create(p.width, p.height, outBits, outBits == 24 ? 0 : outBits == 1 ? 2 : 256))
        return dib.code;
    if (p.bits == 8 && p.planes == 1) {
        // The colours at the end, when the marker stands before them; else grey.
        unsigned char tail[769];
        const bool table = src.size() >= 128 + 769 && src.readAt(src.size() - 769, tail, 769) && tail[0] == 12;
        for (int i = 0; i < 256; ++i) {
            if (table)
                dib.setColor(i, tail[1 + i * 3], tail[2 + i * 3], tail[3 + i * 3]);
            else
                dib.setColor(i, unsigned(i), unsigned(i), unsigned(i));
        }
    } else if (p.bits == 1 && p.planes == 1) {
        // The rule most readers keep: black and white unless the header's
        // colours are plainly meant. Plainly meant: its first two entries
        // differ, and the header is not the 16-colour default that some
        // writers put in every header whatever the depth. Writers that leave
        // the colours unset give two equal entries (commonly both black).
        const unsigned char *c = h + 16;
        if (std::memcmp(c, c + 3, 3) != 0 && std::memcmp(c, kDefaultColours, 48) != 0) {
            dib.setColor(0, c[0], c[1], c[2]);
            dib.setColor(1, c[3], c[4], c[5]);
        } else {
            dib.setColor(0, 0, 0, 0);
            dib.setColor(1, 255, 255, 255);
        }
    } else if (!rgb) {
        // 2 to 16 colours: the header's 16 entries.
        for (int i = 0; i < 16; ++i)
            dib.setColor(i, h[16 + i * 3], h[17 + i * 3], h[18 + i * 3]);
    }

    spi::Reader reader(src, 128);
    std::vector<unsigned char> line(static_cast<size_t>(lineBytes));
    // The coded bytes are taken a buffer at a time and decoded in one tight
    // loop; a run may go on into the next row, and a run's count may be the
    // last byte of one buffer and its value the first of the next.
    const unsigned char *in = nullptr;
    size_t avail = 0;
    size_t run = 0;
    unsigned char value = 0;
    bool countOnly = false; // a run's count was taken, its value not yet
    for (int32_t y = 0; y < p.height; ++y) {
        unsigned char *o = line.data();
        unsigned char *const end = o + line.size();
        while (o < end) {
            if (countOnly) {
                if (avail == 0 && !(in = reader.takeSome(spi::Reader::kBuffer, avail)))
                    return SPI_BROKEN_DATA;
                value = *in++;
                --avail;
                countOnly = false;
            }
            if (run > 0) {
                const size_t n = std::min<size_t>(run, size_t(end - o));
                std::memset(o, value, n);
                o += n;
                run -= n;
                continue;
            }
            if (avail == 0 && !(in = reader.takeSome(spi::Reader::kBuffer, avail)))
                return SPI_BROKEN_DATA; // cut short
            while (avail > 0 && o < end) {
                const unsigned char b = *in;
                if (b < 0xC0) {
                    *o++ = b;
                    ++in;
                    --avail;
                } else if (avail < 2) {
                    run = b & 0x3Fu;
                    countOnly = true;
                    ++in;
                    --avail;
                    break;
                } else {
                    value = in[1];
                    in += 2;
                    avail -= 2;
                    const size_t n = std::min<size_t>(b & 0x3Fu, size_t(end - o));
                    std::memset(o, value, n);
                    o += n;
                    run = (b & 0x3Fu) - n;
                }
            }
        }
        unsigned char *d = dib.row(y);
        const unsigned char *s = line.data();
        const size_t bpl = p.bytesPerLine;
        if (rgb) {
            for (int32_t x = 0; x < p.width; ++x, d += 3) {
                d[0] = s[2 * bpl + size_t(x)];
                d[1] = s[bpl + size_t(x)];
                d[2] = s[x];
            }
        } else if (outBits == 1 || p.bits == 8) {
            std::memcpy(d, s, outBits == 1 ? size_t(p.width + 7) / 8 : size_t(p.width));
        } else if (planar) {
            // Plane k gives bit k of each pixel's colour.
            for (int32_t x = 0; x < p.width; ++x) {
                unsigned index = 0;
                for (unsigned k = 0; k < p.planes; ++k)
                    index |= ((s[k * bpl + size_t(x) / 8] >> (7 - x % 8)) & 1u) << k;
                d[x] = (unsigned char)index;
            }
        } else {
            // 2 or 4 bits a pixel, the first in the high bits.
            const unsigned perByte = 8 / p.bits, mask = (1u << p.bits) - 1;
            for (int32_t x = 0; x < p.width; ++x) {
                const unsigned shift = 8 - p.bits * (unsigned(x) % perByte + 1);
                d[x] = (unsigned char)((s[size_t(x) / perByte] >> shift) & mask);
            }
        }
    }
    dib.handOver(pInfo, pBits);
    return SPI_OK;
}

// libpng writes the rows straight into the bitmap in its own layout: blue
// first, 8 bits a sample, bottom row first; palette and grey pictures as
// 8-bit indices, alpha (or a transparent colour) as a fourth byte.
struct PngRead {
    spi::Reader *reader;
    std::vector<png_bytep> rows; // interlaced pictures only
};

void pngRead(png_structp png, png_bytep out, png_size_t n)
{
    auto *r = static_cast<PngRead *>(png_get_io_ptr(png));
    if (!r->reader->copy(out, n))
        png_error(png, "cut short");
}

void pngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Kept apart so that nothing with a destructor lives across the longjmp;
// what it changes after setjmp lives outside.
int readPng(png_structp png, png_infop info, PngRead &io, spi::Dib &dib)
{
    if (setjmp(png_jmpbuf(png)))
        return SPI_BROKEN_DATA;
    png_set_read_fn(png, &io, pngRead);
    png_set_user_limits(png, 0x7FFFFFF, 0x7FFFFFF);
    png_set_sig_bytes(png, 0);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    const bool transparent = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    // Deflate packs at most 1032 bytes of rows into one; a row byte holds
    // up to eight pixels.
    if (uint64_t(width) * height > io.reader->left() * 1032 * 8 + 4096)
        return SPI_NO_MEMORY;
    int bits = 32;
    png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
        bits = 8;
    } else if (type == PNG_COLOR_TYPE_GRAY && !transparent) {
        png_set_expand_gray_1_2_4_to_8(png);
        bits = 8;
    } else {
        png_set_expand(png);
        if (!(type & PNG_COLOR_MASK_COLOR))
            png_set_gray_to_rgb(png);
        png_set_bgr(png);
        if (!(type & PNG_COLOR_MASK_ALPHA) && !transparent)
            bits = 24;
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (!dib.create(int32_t(width), int32_t(height), bits, bits == 8 ? 256 : 0))
        return dib.code;
    if (png_get_rowbytes(png, info) > dib.stride())
        return SPI_BROKEN_DATA;
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &palette, &count);
        for (int i = 0; i < 256; ++i) {
            if (i < count)
                dib.setColor(i, palette[i].red, palette[i].green, palette[i].blue);
            else
                dib.setColor(i, 0, 0, 0);
        }
    } else if (bits == 8) {
        for (int i = 0; i < 256; ++i)
            dib.setColor(i, unsigned(i), unsigned(i), unsigned(i));
    }
    if (passes > 1) {
        io.rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            io.rows[y] = dib.row(int32_t(y));
        png_read_image(png, io.rows.data());
    } else {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, dib.row(int32_t(y)), nullptr);
    }
    return SPI_OK;
}

int decodePng(const spi::Source &src, SpiHandle *pInfo, SpiHandle *pBits)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return SPI_NO_MEMORY;
    }
    spi::Reader reader(src);
    PngRead io{&reader, {}};
    spi::Dib dib;
    int code = SPI_NO_MEMORY;
    try {
        code = readPng(png, info, io, dib);
    } catch (...) {
        code = SPI_NO_MEMORY; // the interlaced rows' list
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (code == SPI_OK)
        dib.handOver(pInfo, pBits);
    return code;
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
    if (!isPng(src))
        return decodePcx(src, pHBInfo, pHBm);
    if (!chunksInside(src))
        return SPI_BROKEN_DATA;
    return decodePng(src, pHBInfo, pHBm);
}
