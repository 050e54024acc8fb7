// GIF pictures (the first frame) through Qt's reader.
#include "spiqt.h"

namespace {
bool isGif(const spi::Source &src)
{
    char b[6];
    return src.readAt(0, b, 6) && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0);
}
// LZW codes of 12 bits can stand for at most 4096 pixels each, so a byte
// holds fewer than 2800 pixels.
constexpr uint64_t kPixelsPerByte = 2800;
} // namespace

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    if (!isGif(src))
        return SPI_UNKNOWN_FORMAT;
    return spi::decodeWithQt(src, "gif", kPixelsPerByte, pHBInfo, pHBm);
}

SPI_EXPORT int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info)
{
    if (!info)
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    if (!isGif(src))
        return SPI_UNKNOWN_FORMAT;
    const std::unique_ptr<QIODevice> device = spi::deviceOf(src);
    if (!device)
        return SPI_READ_ERROR;
    QImageReader reader(device.get(), "gif");
    const spi::QtProbe probe = spi::probe(reader, src.size(), kPixelsPerByte);
    if (probe.code != SPI_OK && probe.code != SPI_NO_MEMORY)
        return probe.code;
    *info = SpiPictureInfo{};
    info->width = probe.size.width();
    info->height = probe.size.height();
    info->colorDepth = 8;
    return SPI_OK;
}
