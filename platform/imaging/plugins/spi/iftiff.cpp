// TIFF pictures (the first page) through libtiff.
#include "spicommon.h"

#include <cstdlib>

#include <tiffio.h>

namespace {

struct Memory {
    const spi::Input *in;
    toff_t at = 0;
};

tmsize_t readProc(thandle_t h, void *buf, tmsize_t size)
{
    auto *m = static_cast<Memory *>(h);
    const size_t total = m->in->bytes.size();
    if (size < 0 || m->at >= total)
        return 0;
    const size_t n = std::min<size_t>(size_t(size), total - size_t(m->at));
    std::memcpy(buf, m->in->bytes.data() + m->at, n);
    m->at += n;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t, void *, tmsize_t) { return 0; }

toff_t seekProc(thandle_t h, toff_t off, int whence)
{
    auto *m = static_cast<Memory *>(h);
    uint64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->at : m->in->bytes.size();
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END)
        return toff_t(-1);
    const uint64_t target = base + off;
    if (target < base && int64_t(off) > 0)
        return toff_t(-1);
    m->at = target;
    return m->at;
}

int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t h) { return static_cast<Memory *>(h)->in->bytes.size(); }
int mapProc(thandle_t, void **, toff_t *) { return 0; }
void unmapProc(thandle_t, void *, toff_t) {}
int quiet(TIFF *, void *, const char *, const char *, va_list) { return 1; }

bool isTiff(const spi::Input &in)
{
    const auto &b = in.bytes;
    return b.size() >= 4 && ((b[0] == 'I' && b[1] == 'I' && (b[2] == 42 || b[2] == 43) && b[3] == 0) ||
                             (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && (b[3] == 42 || b[3] == 43)));
}

// Fax coding spends a bit or so on a blank row: no coding packs more pixels
// into one byte than this.
constexpr uint64_t kPixelsPerByte = 1u << 16;

TIFF *openTiff(Memory &m)
{
    TIFFOpenOptions *opts = TIFFOpenOptionsAlloc();
    if (!opts)
        return nullptr;
    const uint64_t allowance = spi::memoryAllowance();
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, tmsize_t(std::min<uint64_t>(allowance, uint64_t(1) << 31)));
    TIFFOpenOptionsSetErrorHandlerExtR(opts, quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, quiet, nullptr);
    TIFF *tif = TIFFClientOpenExt("picture", "rm", &m, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                                  unmapProc, opts);
    TIFFOpenOptionsFree(opts);
    return tif;
}

} // namespace

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    const spi::Input in = spi::readInput(buf, len, flag);
    if (in.code != SPI_OK)
        return in.code;
    if (!isTiff(in))
        return SPI_UNKNOWN_FORMAT;
    Memory m{&in};
    TIFF *tif = openTiff(m);
    if (!tif)
        return SPI_BROKEN_DATA;
    uint32_t width = 0, height = 0;
    int code = SPI_OK;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height)) {
        code = SPI_BROKEN_DATA;
    } else if (!spi::sizeAllowed(width, height, 32) ||
               uint64_t(width) * height > uint64_t(in.bytes.size()) * kPixelsPerByte) {
        code = SPI_NO_MEMORY;
    } else {
        char message[1024] = {};
        if (!TIFFRGBAImageOK(tif, message)) {
            code = SPI_BROKEN_DATA;
        } else {
            auto *raster = static_cast<uint32_t *>(std::malloc(size_t(width) * height * 4));
            spi::Dib dib;
            if (!raster) {
                code = SPI_NO_MEMORY;
            } else if (!TIFFReadRGBAImageOriented(tif, width, height, raster, ORIENTATION_TOPLEFT, 0)) {
                code = SPI_BROKEN_DATA;
            } else if (!dib.create(int32_t(width), int32_t(height), 24)) {
                code = dib.code;
            } else {
                for (uint32_t y = 0; y < height; ++y) {
                    const uint32_t *s = raster + size_t(y) * width;
                    unsigned char *d = dib.row(int32_t(y));
                    for (uint32_t x = 0; x < width; ++x, d += 3) {
                        d[0] = (unsigned char)TIFFGetB(s[x]);
                        d[1] = (unsigned char)TIFFGetG(s[x]);
                        d[2] = (unsigned char)TIFFGetR(s[x]);
                    }
                }
                dib.handOver(pHBInfo, pHBm);
            }
            std::free(raster);
        }
    }
    TIFFClose(tif);
    return code;
}

SPI_EXPORT int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info)
{
    if (!info)
        return SPI_INTERNAL_ERROR;
    const spi::Input in = spi::readInput(buf, len, flag);
    if (in.code != SPI_OK)
        return in.code;
    if (!isTiff(in))
        return SPI_UNKNOWN_FORMAT;
    Memory m{&in};
    TIFF *tif = openTiff(m);
    if (!tif)
        return SPI_BROKEN_DATA;
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1;
    int code = SPI_OK;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        code = SPI_BROKEN_DATA;
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
        *info = SpiPictureInfo{};
        info->width = int32_t(width);
        info->height = int32_t(height);
        info->colorDepth = int16_t(std::min(32, int(bits) * int(samples)));
    }
    TIFFClose(tif);
    return code;
}
