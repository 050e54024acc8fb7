#pragma once
// What every plug-in of ours shares: reading its input (a regular file or a
// memory block) with limits, the size checks before any pixel memory, and
// writing the decoded rows as a bitmap into two LocalAlloc blocks.
#include "platform/imaging/plugins/spiabi.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#define SPI_EXPORT extern "C" __attribute__((visibility("default")))

namespace spi {

// No picture of more pixels is decoded, whatever memory there is.
constexpr uint64_t kMaxPixels = uint64_t(1) << 27;
// Larger input files are refused before they are read.
constexpr int64_t kMaxInputBytes = int64_t(1) << 30;

struct Input {
    std::vector<unsigned char> bytes;
    int code = SPI_OK;
};

// The bytes of a file (flag 0: `buf` names it) or of a memory block (flag 1:
// `len` bytes at `buf`). Only regular files are read: a FIFO or device never ends.
inline Input readInput(const char *buf, int32_t len, uint32_t flag)
{
    Input in;
    if (!buf) {
        in.code = SPI_READ_ERROR;
        return in;
    }
    if ((flag & 7) == SPI_INPUT_MEMORY) {
        if (len < 0) {
            in.code = SPI_READ_ERROR;
            return in;
        }
        in.bytes.assign(reinterpret_cast<const unsigned char *>(buf),
                        reinterpret_cast<const unsigned char *>(buf) + len);
        return in;
    }
    const int fd = ::open(buf, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        in.code = SPI_READ_ERROR;
        return in;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxInputBytes) {
        ::close(fd);
        in.code = SPI_READ_ERROR;
        return in;
    }
    try {
        in.bytes.resize(size_t(st.st_size));
    } catch (...) {
        ::close(fd);
        in.code = SPI_NO_MEMORY;
        return in;
    }
    size_t got = 0;
    while (got < in.bytes.size()) {
        const ssize_t n = ::read(fd, in.bytes.data() + got, in.bytes.size() - got);
        if (n < 0) {
            ::close(fd);
            in.bytes.clear();
            in.code = SPI_READ_ERROR;
            return in;
        }
        if (n == 0)
            break;
        got += size_t(n);
    }
    ::close(fd);
    in.bytes.resize(got);
    return in;
}

// Half of the memory available now (the kernel's estimate), or 1 GiB when it
// cannot be read.
inline uint64_t memoryAllowance()
{
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

// A bitmap being written: rows addressed top-down, stored bottom-up.
class Dib {
public:
    // bitCount 8 (with `colors` palette entries) or 24. `code` tells why it failed.
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
