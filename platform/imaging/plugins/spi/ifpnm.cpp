// Portable any-map pictures (PBM, PGM, PPM; plain and raw) through Qt's reader.
#include "spiqt.h"

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    const QByteArray bytes = spi::asByteArray(src);
    if (src.code != SPI_OK)
        return src.code;
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] < '1' || bytes[1] > '6')
        return SPI_UNKNOWN_FORMAT;
    // Raw bitmaps pack eight pixels into a byte; nothing packs more.
    return spi::decodeWithQt(bytes, "ppm", 8, pHBInfo, pHBm);
}
