// GIF pictures (the first frame) through a reader of our own: the colour
// indices go straight into an 8-bit bitmap with the frame's colours, a
// quarter of the memory a 32-bit picture takes and no second pass over it.
#include "spicommon.h"

#include <memory>

namespace {

// LZW codes of 12 bits can stand for at most 4096 pixels each, so a byte
// holds fewer than 2800 pixels.
constexpr uint64_t kPixelsPerByte = 2800;

unsigned le16(const unsigned char *p)
{
    return p[0] | (unsigned(p[1]) << 8);
}

struct Screen {
    unsigned width = 0, height = 0, background = 0;
    unsigned globalColours = 0; // entries of the global table, 0 for none
    unsigned char global[256 * 3];
};

int readScreen(spi::Reader &r, Screen &s)
{
    const unsigned char *h = r.take(13);
    if (!h || (std::memcmp(h, "GIF87a", 6) != 0 && std::memcmp(h, "GIF89a", 6) != 0))
        return SPI_UNKNOWN_FORMAT;
    s.width = le16(h + 6);
    s.height = le16(h + 8);
    s.background = h[11];
    if (h[10] & 0x80) {
        s.globalColours = 2u << (h[10] & 7);
        if (!r.copy(s.global, s.globalColours * 3))
            return SPI_BROKEN_DATA;
    }
    return SPI_OK;
}

// Skips sub-blocks up to the empty one that ends them.
bool skipBlocks(spi::Reader &r)
{
    for (;;) {
        const unsigned char *n = r.take(1);
        if (!n)
            return false;
        if (*n == 0)
            return true;
        if (!r.skip(*n))
            return false;
    }
}

// Where the frame's pixels go: its rows in the bitmap (interlaced frames
// store every eighth row first, then the fourth, the second, the rest),
// cut to the picture.
class Sink {
public:
    Sink(spi::Dib &dib, unsigned left, unsigned top, unsigned width, unsigned height, bool interlaced)
        : dib_(dib), left_(left), top_(top), width_(width), height_(height), interlaced_(interlaced),
          inside_(uint64_t(left) + width <= uint64_t(dib.width()) && uint64_t(top) + height <= uint64_t(dib.height()))
    {
    }
    bool done() const { return row_ >= height_; }
    // Where `n` pixels go when they all fit in the current row and it lies
    // wholly inside the picture (the caller writes them there at once), or
    // null: then they go through put(). Only while not done().
    unsigned char *claim(unsigned n)
    {
        if (n > width_ - x_ || !inside_)
            return nullptr;
        if (!rowStart_)
            rowStart_ = dib_.row(int32_t(top_ + rowY())) + left_;
        unsigned char *d = rowStart_ + x_;
        x_ += n;
        if (x_ == width_) {
            x_ = 0;
            ++row_;
            rowStart_ = nullptr;
        }
        return d;
    }
    void put(const unsigned char *s, size_t n)
    {
        while (n > 0 && !done()) {
            const size_t k = std::min<size_t>(n, width_ - x_);
            const uint64_t y = uint64_t(top_) + rowY();
            if (y < uint64_t(dib_.height()) && left_ + x_ < unsigned(dib_.width())) {
                const size_t fits = std::min<size_t>(k, size_t(unsigned(dib_.width()) - left_ - x_));
                std::memcpy(dib_.row(int32_t(y)) + left_ + x_, s, fits);
            }
            s += k;
            n -= k;
            x_ += unsigned(k);
            if (x_ == width_) {
                x_ = 0;
                ++row_;
                rowStart_ = nullptr;
            }
        }
    }

private:
    // The frame row the `row_`-th stored row is.
    unsigned rowY() const
    {
        if (!interlaced_)
            return row_;
        const unsigned p1 = (height_ + 7) / 8, p2 = (height_ + 3) / 8, p3 = (height_ + 1) / 4;
        if (row_ < p1)
            return row_ * 8;
        if (row_ < p1 + p2)
            return (row_ - p1) * 8 + 4;
        if (row_ < p1 + p2 + p3)
            return (row_ - p1 - p2) * 4 + 2;
        return (row_ - p1 - p2 - p3) * 2 + 1;
    }
    spi::Dib &dib_;
    unsigned left_, top_, width_, height_;
    bool interlaced_;
    // The frame lies wholly inside the picture.
    bool inside_;
    unsigned x_ = 0, row_ = 0;
    unsigned char *rowStart_ = nullptr;
};

// The frame's code stream with the sub-blocks' lengths taken out, a chunk
// at a time, so that a code is one load and a shift.
class Codes {
public:
    explicit Codes(spi::Reader &r) : r_(r), buf_(kChunk + 8) {}
    // The next code of `size` bits; false at the end of the stream.
    bool next(unsigned size, unsigned &code)
    {
        if (at_ + size > have_ * 8 && !refill(size))
            return false;
        uint32_t v;
        std::memcpy(&v, buf_.data() + at_ / 8, 4);
        code = (v >> (at_ % 8)) & ((1u << size) - 1);
        at_ += size;
        return true;
    }

private:
    static constexpr size_t kChunk = size_t(1) << 16;
    bool refill(unsigned size)
    {
        const size_t from = at_ / 8;
        std::memmove(buf_.data(), buf_.data() + from, have_ - from);
        have_ -= from;
        at_ %= 8;
        while (have_ < kChunk && !ended_) {
            if (blockLeft_ == 0) {
                const unsigned char *n = r_.take(1);
                if (!n || *n == 0) {
                    ended_ = true;
                    break;
                }
                blockLeft_ = *n;
            }
            size_t got = 0;
            const unsigned char *p = r_.takeSome(std::min(blockLeft_, kChunk - have_), got);
            if (!p) {
                ended_ = true;
                break;
            }
            std::memcpy(buf_.data() + have_, p, got);
            have_ += got;
            blockLeft_ -= got;
        }
        // The bytes past the stream read as zero, never as stale codes.
        std::memset(buf_.data() + have_, 0, 4);
        return at_ + size <= have_ * 8;
    }
    spi::Reader &r_;
    std::vector<unsigned char> buf_;
    size_t have_ = 0, at_ = 0, blockLeft_ = 0;
    bool ended_ = false;
};

// The frame's LZW codes, read from its sub-blocks. A file cut short or a
// code out of order ends the frame: the pixels not reached keep the
// background.
void decodeLzw(spi::Reader &r, unsigned minSize, Sink &sink)
{
    struct Table {
        uint16_t prefix[4096];
        unsigned char suffix[4096];
        unsigned char first[4096];
        uint16_t length[4096];
        unsigned char out[4096];
    };
    const auto t = std::make_unique<Table>();
    const unsigned clear = 1u << minSize, end = clear + 1;
    for (unsigned i = 0; i < clear; ++i) {
        t->suffix[i] = t->first[i] = (unsigned char)i;
        t->length[i] = 1;
        t->prefix[i] = 0;
    }
    unsigned size = minSize + 1, next = clear + 2;
    int prev = -1;
    Codes codes(r);
    for (;;) {
        unsigned code;
        if (!codes.next(size, code))
            return;
        if (code == clear) {
            size = minSize + 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == end)
            return;
        unsigned emit = code;
        if (prev < 0) {
            if (code >= clear)
                return;
        } else if (code <= next && next < 4096) {
            // The new entry: the previous string and the first pixel of this one
            // (of the previous one when this code is the entry being made).
            t->prefix[next] = uint16_t(prev);
            t->first[next] = t->first[prev];
            t->suffix[next] = code == next ? t->first[prev] : t->first[code];
            t->length[next] = uint16_t(t->length[prev] + 1);
            ++next;
            if (next == (1u << size) && size < 12)
                ++size;
        } else if (code >= next) {
            return;
        }
        // The string is spelt backwards from its last pixel, straight into
        // the row where it fits.
        const unsigned n = t->length[emit];
        unsigned char *d = sink.claim(n);
        const bool direct = d != nullptr;
        if (!direct)
            d = t->out;
        for (unsigned i = n; i-- > 0;) {
            d[i] = t->suffix[emit];
            emit = t->prefix[emit];
        }
        if (!direct)
            sink.put(t->out, n);
        if (sink.done())
            return;
        prev = int(code);
    }
}

int decode(spi::Source &src, SpiHandle *pInfo, SpiHandle *pBits)
{
    spi::Reader r(src);
    Screen s;
    if (const int code = readScreen(r, s); code != SPI_OK)
        return code;
    int transparent = -1;
    for (;;) {
        const unsigned char *kind = r.take(1);
        if (!kind || *kind == 0x3B)
            return SPI_BROKEN_DATA; // no frame
        if (*kind == 0x21) {
            const unsigned char *label = r.take(1);
            if (!label)
                return SPI_BROKEN_DATA;
            if (*label == 0xF9) {
                const unsigned char *g = r.take(6);
                if (!g || g[0] != 4)
                    return SPI_BROKEN_DATA;
                transparent = (g[1] & 1) ? g[4] : -1;
                if (g[5] != 0 && !skipBlocks(r))
                    return SPI_BROKEN_DATA;
            } else if (!skipBlocks(r)) {
                return SPI_BROKEN_DATA;
            }
            continue;
        }
        if (*kind != 0x2C)
            return SPI_BROKEN_DATA;
        const unsigned char *d = r.take(9);
        if (!d)
            return SPI_BROKEN_DATA;
        const unsigned left = le16(d), top = le16(d + 2), width = le16(d + 4), height = le16(d + 6);
        unsigned colours = s.globalColours;
        unsigned char local[256 * 3];
        const unsigned char *table = s.global;
        if (d[8] & 0x80) {
            colours = 2u << (d[8] & 7);
            if (!r.copy(local, colours * 3))
                return SPI_BROKEN_DATA;
            table = local;
        }
        const unsigned char *minSize = r.take(1);
        if (!minSize || *minSize < 1 || *minSize > 11)
            return SPI_BROKEN_DATA;
        // A screen of no size is the frame's size.
        const unsigned cw = s.width ? s.width : left + width, ch = s.height ? s.height : top + height;
        if (uint64_t(cw) * ch > src.size() * kPixelsPerByte + 4096 || !spi::sizeAllowed(cw, ch, 8))
            return SPI_NO_MEMORY;
        spi::Dib dib;
        if (!dib.create(int32_t(cw), int32_t(ch), 8, 256))
            return dib.code;
        for (unsigned i = 0; i < 256; ++i) {
            const unsigned char *c = table + i * 3;
            if (i < colours)
                dib.setColor(int(i), c[0], c[1], c[2]);
            else
                dib.setColor(int(i), 0, 0, 0);
        }
        // Outside the frame: the transparent colour when the frame has one,
        // else the screen's background.
        const unsigned fill = transparent >= 0 ? unsigned(transparent) : s.background < colours ? s.background : 0;
        if (fill != 0 || width < cw || height < ch)
            std::memset(dib.bits(), int(fill), dib.stride() * ch);
        if (width && height) {
            Sink sink(dib, left, top, width, height, (d[8] & 0x40) != 0);
            decodeLzw(r, *minSize, sink);
        }
        dib.handOver(pInfo, pBits);
        return SPI_OK;
    }
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

SPI_EXPORT int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info)
{
    if (!info)
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    spi::Reader r(src);
    Screen s;
    if (const int code = readScreen(r, s); code != SPI_OK)
        return code;
    *info = SpiPictureInfo{};
    info->width = int32_t(s.width);
    info->height = int32_t(s.height);
    info->colorDepth = 8;
    return SPI_OK;
}
