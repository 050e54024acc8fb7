// Targa pictures through the reader of Qt's image-formats plug-ins.
#include "spiqt.h"

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    const spi::Input in = spi::readInput(buf, len, flag);
    if (in.code != SPI_OK)
        return in.code;
    QByteArray bytes = spi::asByteArray(in);
    // TGA has no signature: the header's picture type and depth must be one
    // the reader knows before it is handed the file.
    if (bytes.size() < 18)
        return SPI_UNKNOWN_FORMAT;
    const int type = uchar(bytes[2]);
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
        return SPI_UNKNOWN_FORMAT;
    // Qt's reader wants the footer of the second version of the format;
    // files of the first have none, and the footer changes nothing else.
    static const QByteArray signature("TRUEVISION-XFILE.\0", 18);
    if (!bytes.endsWith(signature))
        bytes.append(QByteArray(8, '\0')).append(signature);
    // A run-length packet repeats one pixel up to 128 times.
    return spi::decodeWithQt(bytes, "tga", 128, pHBInfo, pHBm);
}
