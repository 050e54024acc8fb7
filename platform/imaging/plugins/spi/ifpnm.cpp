// Portable any-map pictures (PBM, PGM, PPM; plain and raw) through Qt's reader.
#include "spiqt.h"

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    char magic[2];
    if (!src.readAt(0, magic, 2) || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6')
        return SPI_UNKNOWN_FORMAT;
    // Raw bitmaps pack eight pixels into a byte; nothing packs more.
    return spi::decodeWithQt(src, "ppm", 8, pHBInfo, pHBm);
}
