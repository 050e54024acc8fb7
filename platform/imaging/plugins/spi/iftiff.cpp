// TIFF pictures (the first page) through libtiff.
#include "spicommon.h"

#include <algorithm>
#include <cstdlib>

#include <tiffio.h>

namespace {

// libtiff reads through these, from the file or the caller's block.
struct Memory {
    const spi::Source *src;
    toff_t at = 0;
};

tmsize_t readProc(thandle_t h, void *buf, tmsize_t size)
{
    auto *m = static_cast<Memory *>(h);
    const uint64_t total = m->src->size();
    if (size < 0 || m->at >= total)
        return 0;
    const size_t n = size_t(std::min<uint64_t>(uint64_t(size), total - m->at));
    if (!m->src->readAt(m->at, buf, n))
        return 0;
    m->at += n;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t, void *, tmsize_t) { return 0; }

toff_t seekProc(thandle_t h, toff_t off, int whence)
{
    auto *m = static_cast<Memory *>(h);
    uint64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->at : m->src->size();
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END)
        return toff_t(-1);
    const uint64_t target = base + off;
    if (target < base && int64_t(off) > 0)
        return toff_t(-1);
    m->at = target;
    return m->at;
}

int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t h) { return static_cast<Memory *>(h)->src->size(); }
// The caller's block is read in place; a file is read where libtiff asks.
int mapProc(thandle_t h, void **base, toff_t *size)
{
    auto *m = static_cast<Memory *>(h);
    if (m->src->isFile())
        return 0;
    *base = const_cast<unsigned char *>(m->src->memory());
    *size = m->src->size();
    return 1;
}
void unmapProc(thandle_t, void *, toff_t) {}
int quiet(TIFF *, void *, const char *, const char *, va_list) { return 1; }

bool isTiff(const spi::Source &src)
{
    unsigned char b[4];
    return src.readAt(0, b, 4) && ((b[0] == 'I' && b[1] == 'I' && (b[2] == 42 || b[2] == 43) && b[3] == 0) ||
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
    TIFF *tif = TIFFClientOpenExt("picture", m.src->isFile() ? "rm" : "r", &m, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                                  unmapProc, opts);
    TIFFOpenOptionsFree(opts);
    return tif;
}

} // namespace

namespace {

// Every strip or tile lies inside the file: libtiff would otherwise take
// memory for what a header claims before it finds the bytes missing.
bool stripsInside(TIFF *tif, uint64_t fileSize)
{
    const uint32_t count = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    for (uint32_t i = 0; i < count; ++i) {
        int err = 0;
        const uint64_t at = TIFFGetStrileOffsetWithErr(tif, i, &err);
        const uint64_t bytes = err ? 0 : TIFFGetStrileByteCountWithErr(tif, i, &err);
        if (err || at > fileSize || bytes > fileSize - at)
            return false;
    }
    return true;
}

// 8-bit grey or RGB in strips, top row first: rows go straight into the
// bitmap, RGB then turned into its colour order in place.
// Everything else goes through libtiff's general reader.
bool plainLayout(TIFF *tif, bool &grey)
{
    uint16_t bits = 1, samples = 1, photometric = 0, planar = PLANARCONFIG_CONTIG, orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        return false;
    grey = photometric == PHOTOMETRIC_MINISBLACK && samples == 1;
    const bool rgb = photometric == PHOTOMETRIC_RGB && samples == 3 && planar == PLANARCONFIG_CONTIG;
    return !TIFFIsTiled(tif) && bits == 8 && orientation == ORIENTATION_TOPLEFT && (grey || rgb);
}

// Uncompressed strips are read by the kernel straight into the bitmap's
// rows (libtiff would read each strip into a buffer of its own and copy it
// out row by row). False when a strip holds fewer rows than it should: the
// general path then reads what there is.
bool readUncompressed(TIFF *tif, const spi::Source &src, spi::Dib &dib, bool grey)
{
    uint16_t compression = COMPRESSION_NONE, fillOrder = FILLORDER_MSB2LSB;
    uint32_t perStrip = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &perStrip);
    // libtiff turns the bits of each byte round for the other fill order.
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    const uint64_t line = uint64_t(TIFFScanlineSize64(tif));
    const uint32_t height = uint32_t(dib.height());
    if (compression != COMPRESSION_NONE || fillOrder != FILLORDER_MSB2LSB || perStrip == 0 || line == 0 ||
        line > dib.stride())
        return false;
    perStrip = std::min(perStrip, height);
    const uint32_t strips = (height - 1) / perStrip + 1;
    if (TIFFNumberOfStrips(tif) < strips)
        return false;
    for (uint32_t i = 0; i < strips; ++i) {
        int err = 0;
        const uint64_t bytes = TIFFGetStrileByteCountWithErr(tif, i, &err);
        const uint32_t rows = std::min(perStrip, height - i * perStrip);
        if (err || bytes < rows * line)
            return false;
    }
    const ptrdiff_t step = -ptrdiff_t(dib.stride());
    for (uint32_t i = 0; i < strips; ++i) {
        int err = 0;
        const uint64_t at = TIFFGetStrileOffsetWithErr(tif, i, &err);
        const uint32_t y = i * perStrip, rows = std::min(perStrip, height - y);
        // Strips are checked against the file's length already: a read that
        // fails here is a file cut short under us.
        if (!src.readRows(at, dib.row(int32_t(y)), step, rows, size_t(line)))
            return false;
        for (uint32_t k = 0; !grey && k < rows; ++k) {
            unsigned char *d = dib.row(int32_t(y + k));
            spi::swapRedBlue(d, d, uint32_t(dib.width()));
        }
    }
    return true;
}

int readPlain(TIFF *tif, const spi::Source &src, spi::Dib &dib, bool grey)
{
    const uint32_t width = uint32_t(dib.width());
    if (uint64_t(TIFFScanlineSize64(tif)) > dib.stride())
        return SPI_BROKEN_DATA;
    if (readUncompressed(tif, src, dib, grey))
        return SPI_OK;
    for (int32_t y = 0; y < dib.height(); ++y) {
        unsigned char *d = dib.row(y);
        if (TIFFReadScanline(tif, d, uint32_t(y), 0) < 0)
            return SPI_BROKEN_DATA;
        if (!grey)
            spi::swapRedBlue(d, d, width);
    }
    return SPI_OK;
}

// Any other layout, through libtiff's general reader, bottom row first as
// the bitmap stores it, then red and blue swapped in place.
int readGeneral(TIFF *tif, spi::Dib &dib)
{
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message))
        return SPI_BROKEN_DATA;
    auto *raster = reinterpret_cast<uint32_t *>(dib.bits());
    if (!TIFFReadRGBAImageOriented(tif, uint32_t(dib.width()), uint32_t(dib.height()), raster, ORIENTATION_BOTLEFT,
                                   0))
        return SPI_BROKEN_DATA;
    const size_t count = size_t(dib.width()) * size_t(dib.height());
    for (size_t i = 0; i < count; ++i) {
        const uint32_t px = raster[i];
        raster[i] = (px & 0xFF00FF00u) | ((px & 0xFFu) << 16) | ((px >> 16) & 0xFFu);
    }
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
    if (!isTiff(src))
        return SPI_UNKNOWN_FORMAT;
    Memory m{&src};
    TIFF *tif = openTiff(m);
    if (!tif)
        return SPI_BROKEN_DATA;
    uint32_t width = 0, height = 0;
    bool grey = false;
    int code = SPI_OK;
    spi::Dib dib;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) ||
        !stripsInside(tif, src.size())) {
        code = SPI_BROKEN_DATA;
    } else if (!spi::sizeAllowed(width, height, 32) || uint64_t(width) * height > src.size() * kPixelsPerByte) {
        code = SPI_NO_MEMORY;
    } else if (plainLayout(tif, grey)) {
        if (!dib.create(int32_t(width), int32_t(height), grey ? 8 : 24, grey ? 256 : 0)) {
            code = dib.code;
        } else {
            for (int i = 0; grey && i < 256; ++i)
                dib.setColor(i, unsigned(i), unsigned(i), unsigned(i));
            code = readPlain(tif, src, dib, grey);
        }
    } else if (!dib.create(int32_t(width), int32_t(height), 32)) {
        code = dib.code;
    } else {
        code = readGeneral(tif, dib);
    }
    if (code == SPI_OK)
        dib.handOver(pHBInfo, pHBm);
    TIFFClose(tif);
    return code;
}

SPI_EXPORT int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info)
{
    if (!info)
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    if (!isTiff(src))
        return SPI_UNKNOWN_FORMAT;
    Memory m{&src};
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
