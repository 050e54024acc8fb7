#pragma once
// What every plug-in of ours shares: reading its input (a regular file or a
// memory block) with limits, the size checks before any pixel memory, and
// writing the decoded rows as a bitmap into two LocalAlloc blocks.
#include "platform/core/userfile.h"
#include "platform/imaging/plugins/spiabi.h"

#include <algorithm>
#include <atomic>
#include <cerrno>

#include <cstdio>
#include <cstring>
#include <string>
#include <ctime>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

#define SPI_EXPORT extern "C" __attribute__((visibility("default")))

namespace spi {

// No picture of more pixels is decoded, whatever memory there is.
constexpr uint64_t kMaxPixels = uint64_t(1) << 27;
// Larger input files are refused before they are read.
constexpr int64_t kMaxInputBytes = int64_t(1) << 30;

// What a plug-in decodes from: a regular file the user named (flag 0) or a
// block of the caller's memory (flag 1). A file is opened through the one
// helper (no FIFO, device, folder or oversize file gets past it) and read
// where the decoder asks, never copied whole.
class Source {
public:
    Source(const char *buf, int32_t len, uint32_t flag)
    {
        if (!buf) {
            code = SPI_READ_ERROR;
        } else if ((flag & 7) == SPI_INPUT_MEMORY) {
            if (len < 0)
                code = SPI_READ_ERROR;
            mem_ = reinterpret_cast<const unsigned char *>(buf);
            size_ = len < 0 ? 0 : uint64_t(len);
        } else {
            file_ = vx::userfile::open(buf, kMaxInputBytes);
            if (!file_.ok())
                code = SPI_READ_ERROR;
            size_ = file_.ok() ? uint64_t(file_.size()) : 0;
        }
    }
    Source(const Source &) = delete;
    Source &operator=(const Source &) = delete;

    int code = SPI_OK;
    uint64_t size() const { return size_; }
    bool isFile() const { return !mem_; }
    int fd() const { return file_.fd(); }
    // The caller's block (null for a file).
    const unsigned char *memory() const { return mem_; }

    // `n` bytes at `at` into `dst`; false when the input holds fewer.
    bool readAt(uint64_t at, void *dst, size_t n) const
    {
        if (at > size_ || n > size_ - at)
            return false;
        if (mem_) {
            std::memcpy(dst, mem_ + at, n);
            return true;
        }
        auto *d = static_cast<unsigned char *>(dst);
        while (n > 0) {
            const ssize_t got = ::pread(file_.fd(), d, n, off_t(at));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false; // the file shrank under us
            d += got;
            at += uint64_t(got);
            n -= size_t(got);
        }
        return true;
    }

    // `rows` runs of `each` bytes at `at` into `first`, `first + step`, and
    // so on (a bitmap's rows, top row first, have a negative step). A file
    // is read by the kernel straight into the rows, a thousand rows a call.
    bool readRows(uint64_t at, unsigned char *first, ptrdiff_t step, size_t rows, size_t each) const
    {
        if (at > size_ || (each && rows > (size_ - at) / each))
            return false;
        if (mem_) {
            for (size_t i = 0; i < rows; ++i)
                std::memcpy(first + ptrdiff_t(i) * step, mem_ + at + i * each, each);
            return true;
        }
        constexpr size_t kBatch = 1024; // IOV_MAX on Linux
        iovec v[kBatch];
        size_t row = 0;
        while (row < rows) {
            const size_t n = std::min(kBatch, rows - row);
            for (size_t i = 0; i < n; ++i)
                v[i] = iovec{first + ptrdiff_t(row + i) * step, each};
            iovec *next = v;
            size_t left = n;
            while (left > 0) {
                const ssize_t got = ::preadv(file_.fd(), next, int(left), off_t(at));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    return false; // the file shrank under us
                at += uint64_t(got);
                // Past the rows read whole, into the one read in part.
                size_t done = size_t(got);
                while (left > 0 && done >= next->iov_len) {
                    done -= next->iov_len;
                    ++next;
                    --left;
                }
                if (left > 0) {
                    next->iov_base = static_cast<unsigned char *>(next->iov_base) + done;
                    next->iov_len -= done;
                }
            }
            row += n;
        }
        return true;
    }

private:
    vx::userfile::Handle file_;
    const unsigned char *mem_ = nullptr;
    uint64_t size_ = 0;
};

// Reads a source from front to back through a small buffer, so that a
// decoder never holds more of the file than one buffer.
class Reader {
public:
    explicit Reader(const Source &source, uint64_t at = 0) : src_(source), pos_(at) {}
    uint64_t position() const { return pos_ - (end_ - at_); }
    uint64_t left() const { return src_.size() - position(); }

    // The next `n` bytes (n at most kBuffer), or null when the input ends first.
    const unsigned char *take(size_t n)
    {
        if (end_ - at_ < n && !fill(n))
            return nullptr;
        const unsigned char *p = (direct_ ? direct_ : buf_.data()) + at_;
        at_ += n;
        return p;
    }
    // Whatever comes next, up to `most` bytes (null at the end of the input).
    const unsigned char *takeSome(size_t most, size_t &got)
    {
        if (end_ == at_ && !fill(1)) {
            got = 0;
            return nullptr;
        }
        got = std::min(most, end_ - at_);
        const unsigned char *p = (direct_ ? direct_ : buf_.data()) + at_;
        at_ += got;
        return p;
    }
    // The next `n` bytes into `dst`.
    bool copy(void *dst, size_t n)
    {
        auto *d = static_cast<unsigned char *>(dst);
        const size_t have = std::min(n, end_ - at_);
        if (have) {
            std::memcpy(d, (direct_ ? direct_ : buf_.data()) + at_, have);
            at_ += have;
            d += have;
            n -= have;
        }
        if (n == 0)
            return true;
        if (!src_.readAt(pos_, d, n))
            return false;
        pos_ += n;
        return true;
    }
    // `rows` runs of `each` bytes into `first`, `first + step`, ... (see
    // Source::readRows): what the buffer holds is copied, the rest read
    // straight into the rows.
    bool copyRows(unsigned char *first, ptrdiff_t step, size_t rows, size_t each)
    {
        size_t i = 0;
        for (; i < rows && end_ > at_; ++i) {
            if (!copy(first + ptrdiff_t(i) * step, each))
                return false;
        }
        if (i == rows)
            return true;
        if (!src_.readRows(pos_, first + ptrdiff_t(i) * step, step, rows - i, each))
            return false;
        pos_ += uint64_t(rows - i) * each;
        return true;
    }
    bool skip(uint64_t n)
    {
        const size_t have = size_t(std::min<uint64_t>(n, end_ - at_));
        at_ += have;
        n -= have;
        if (n > src_.size() - pos_)
            return false;
        pos_ += n;
        return true;
    }

    static constexpr size_t kBuffer = size_t(1) << 18;

private:
    bool fill(size_t n)
    {
        if (!src_.isFile()) {
            // The caller's block is read in place.
            const uint64_t at = position();
            if (n > src_.size() - at)
                return false;
            direct_ = src_.memory() + at;
            pos_ = src_.size();
            at_ = 0;
            end_ = size_t(src_.size() - at);
            return true;
        }
        if (n > kBuffer)
            return false;
        if (buf_.empty())
            buf_.resize(kBuffer);
        const size_t keep = end_ - at_;
        std::memmove(buf_.data(), buf_.data() + at_, keep);
        at_ = 0;
        end_ = keep;
        const size_t want = size_t(std::min<uint64_t>(kBuffer - keep, src_.size() - pos_));
        if (keep + want < n || !src_.readAt(pos_, buf_.data() + keep, want))
            return false;
        pos_ += want;
        end_ += want;
        return true;
    }
    const Source &src_;
    uint64_t pos_;
    std::vector<unsigned char> buf_;
    const unsigned char *direct_ = nullptr;
    size_t at_ = 0, end_ = 0;
};

// Half of the memory available now (the kernel's estimate), or 1 GiB when it
// cannot be read. Read again at most every tenth of a second: on a busy
// machine one read of the kernel's figures can take milliseconds, and each
// decode asks more than once.
inline uint64_t memoryAllowance()
{
    static std::atomic<uint64_t> cached{0};
    static std::atomic<int64_t> readAt{0};
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    const int64_t ms = int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    const uint64_t last = cached.load(std::memory_order_relaxed);
    if (last && ms - readAt.load(std::memory_order_relaxed) < 100)
        return last;
    uint64_t allowance = uint64_t(1) << 30;
    if (FILE *f = std::fopen("/proc/meminfo", "re")) {
        char line[128];
        while (std::fgets(line, sizeof line, f)) {
            unsigned long long kb = 0;
            if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
                allowance = kb * 1024 / 2;
                break;
            }
        }
        std::fclose(f);
    }
    cached.store(allowance, std::memory_order_relaxed);
    readAt.store(ms, std::memory_order_relaxed);
    return allowance;
}

// Whether a picture of width x height may be decoded: both positive, within
// the pixel cap, and its bitmap within the memory allowance.
inline bool sizeAllowed(int64_t width, int64_t height, int bitCount = 24)
{
    if (width <= 0 || height <= 0 || width > 0x7FFFFFF || height > 0x7FFFFFF)
        return false;
    const uint64_t pixels = uint64_t(width) * uint64_t(height);
    if (pixels > kMaxPixels)
        return false;
    const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    return stride * uint64_t(height) <= memoryAllowance();
}

// `n` pixels of red, green, blue at `s` as blue, green, red at `d` (which
// may be `s`). Where the processor has byte shuffles, five pixels a step.
__attribute__((target("ssse3"))) inline size_t swapRedBlueWide(unsigned char *d, const unsigned char *s, size_t n)
{
    typedef char v16 __attribute__((vector_size(16)));
    const v16 order = {2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15};
    size_t done = 0;
    // Each step loads 16 bytes and keeps the 16th as it was.
    for (; n - done >= 6; done += 5) {
        v16 v;
        std::memcpy(&v, s + done * 3, 16);
        v = __builtin_ia32_pshufb128(v, order);
        std::memcpy(d + done * 3, &v, 16);
    }
    return done;
}

// The same with byte permutes across 64 bytes: 21 pixels a step.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline size_t swapRedBlueWider(unsigned char *d,
                                                                                      const unsigned char *s, size_t n)
{
    typedef char v64 __attribute__((vector_size(64)));
    v64 order;
    for (int i = 0; i < 63; ++i)
        order[i] = char(i - i % 3 + 2 - i % 3);
    order[63] = 63;
    size_t done = 0;
    // Each step loads 64 bytes and keeps the 64th as it was.
    for (; n - done >= 22; done += 21) {
        v64 v;
        std::memcpy(&v, s + done * 3, 64);
        v = __builtin_ia32_permvarqi512_mask(v, order, v, ~0ull);
        std::memcpy(d + done * 3, &v, 64);
    }
    return done;
}

inline void swapRedBlue(unsigned char *d, const unsigned char *s, size_t n)
{
    static const bool wider = __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
    static const bool wide = __builtin_cpu_supports("ssse3");
    size_t x = wider && n >= 22 ? swapRedBlueWider(d, s, n) : 0;
    if (wide && n - x >= 6)
        x += swapRedBlueWide(d + x * 3, s + x * 3, n - x);
    for (; x < n; ++x) {
        const unsigned char r = s[x * 3], g = s[x * 3 + 1], b = s[x * 3 + 2];
        d[x * 3] = b;
        d[x * 3 + 1] = g;
        d[x * 3 + 2] = r;
    }
}

// A bitmap being written: rows addressed top-down, stored bottom-up.
class Dib {
public:
    // bitCount 1, 4 or 8 (with `colors` palette entries), 24 or 32 (blue,
    // green, red, alpha). `code` tells why it failed.
    bool create(int32_t width, int32_t height, int bitCount, int colors = 0)
    {
        if (!sizeAllowed(width, height, bitCount)) {
            code = SPI_NO_MEMORY;
            return false;
        }
        width_ = width;
        height_ = height;
        stride_ = ((size_t(width) * size_t(bitCount) + 31) / 32) * 4;
        info_ = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(SpiBitmapInfoHeader) + size_t(colors) * 4);
        bits_ = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, stride_ * size_t(height));
        if (!info_ || !bits_) {
            release();
            code = SPI_NO_MEMORY;
            return false;
        }
        auto *h = static_cast<SpiBitmapInfoHeader *>(LocalLock(info_));
        h->biSize = sizeof(SpiBitmapInfoHeader);
        h->biWidth = width;
        h->biHeight = height;
        h->biPlanes = 1;
        h->biBitCount = uint16_t(bitCount);
        h->biCompression = SPI_BI_RGB;
        h->biSizeImage = uint32_t(stride_ * size_t(height));
        h->biClrUsed = uint32_t(colors);
        palette_ = reinterpret_cast<unsigned char *>(h + 1);
        rows_ = static_cast<unsigned char *>(LocalLock(bits_));
        return true;
    }
    ~Dib() { release(); }

    void setColor(int index, unsigned r, unsigned g, unsigned b)
    {
        unsigned char *q = palette_ + index * 4;
        q[0] = (unsigned char)b;
        q[1] = (unsigned char)g;
        q[2] = (unsigned char)r;
        q[3] = 0;
    }
    unsigned char *row(int32_t y) { return rows_ + size_t(height_ - 1 - y) * stride_; }
    // Rows written top row first (by a reader that knows no other order)
    // are put in the bitmap's order.
    void flipRows()
    {
        std::vector<unsigned char> t(stride_);
        for (int32_t a = 0, b = height_ - 1; a < b; ++a, --b) {
            unsigned char *ra = rows_ + size_t(a) * stride_, *rb = rows_ + size_t(b) * stride_;
            std::memcpy(t.data(), ra, stride_);
            std::memcpy(ra, rb, stride_);
            std::memcpy(rb, t.data(), stride_);
        }
    }
    // The rows as stored, bottom row first.
    unsigned char *bits() { return rows_; }
    size_t stride() const { return stride_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // Hands both blocks over; the caller frees them.
    void handOver(SpiHandle *pInfo, SpiHandle *pBits)
    {
        LocalUnlock(info_);
        LocalUnlock(bits_);
        *pInfo = info_;
        *pBits = bits_;
        info_ = bits_ = nullptr;
    }
    int code = SPI_OK;

private:
    void release()
    {
        if (info_) {
            LocalUnlock(info_);
            LocalFree(info_);
        }
        if (bits_) {
            LocalUnlock(bits_);
            LocalFree(bits_);
        }
        info_ = bits_ = nullptr;
    }
    SpiHandle info_ = nullptr;
    SpiHandle bits_ = nullptr;
    unsigned char *palette_ = nullptr;
    unsigned char *rows_ = nullptr;
    size_t stride_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// Both handles null until a picture is handed over.
inline bool clearOutputs(SpiHandle *pInfo, SpiHandle *pBits)
{
    if (!pInfo || !pBits)
        return false;
    *pInfo = nullptr;
    *pBits = nullptr;
    return true;
}

} // namespace spi
