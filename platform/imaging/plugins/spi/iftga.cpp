// Targa pictures through the reader of Qt's image-formats plug-ins.
#include "spiqt.h"

namespace {

unsigned le16(const QByteArray &b, int at)
{
    return uchar(b[at]) | (unsigned(uchar(b[at + 1])) << 8);
}

int checkHeader(const QByteArray &b)
{
    if (b.size() < 18)
        return SPI_UNKNOWN_FORMAT;
    const int idLength = uchar(b[0]);
    const int mapType = uchar(b[1]);
    const int type = uchar(b[2]);
    const unsigned mapFirst = le16(b, 3), mapLength = le16(b, 5);
    const int mapBits = uchar(b[7]);
    const uint64_t width = le16(b, 12), height = le16(b, 14);
    const int depth = uchar(b[16]);
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
        return SPI_UNKNOWN_FORMAT;
    if (mapType > 1 || (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32))
        return SPI_UNKNOWN_FORMAT;
    const bool mapped = type == 1 || type == 9;
    if (mapped != (mapType == 1) || (mapped && depth != 8))
        return SPI_BROKEN_DATA;
    uint64_t mapBytes = 0;
    if (mapType == 1) {
        if ((mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32) || mapFirst + mapLength > 256)
            return SPI_BROKEN_DATA;
        mapBytes = uint64_t(mapLength) * uint64_t((mapBits + 7) / 8);
    }
    if (width == 0 || height == 0)
        return SPI_BROKEN_DATA;
    const uint64_t header = 18 + uint64_t(idLength) + mapBytes;
    if (header > uint64_t(b.size()))
        return SPI_BROKEN_DATA;
    const uint64_t rest = uint64_t(b.size()) - header;
    const uint64_t pixelBytes = uint64_t((depth + 7) / 8);
    const uint64_t pixels = width * height;
    if (type < 9) {
        if (rest < pixels * pixelBytes)
            return SPI_BROKEN_DATA; // cut short
    } else if (pixels > rest / (1 + pixelBytes) * 128 + 128) {
        // A run-length packet of 1 + pixel bytes stands for at most 128 pixels.
        return SPI_BROKEN_DATA;
    }
    return spi::sizeAllowed(int64_t(width), int64_t(height), 32) ? SPI_OK : SPI_NO_MEMORY;
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
    QByteArray bytes = spi::asByteArray(in);
    // TGA has no signature: the header must describe a picture Qt's reader
    // knows, and the file must hold what the header promises, before the
    // reader (which reads on past the end, byte by byte) is handed the file.
    const int check = checkHeader(bytes);
    if (check != SPI_OK)
        return check;
    // Qt's reader wants the footer of the second version of the format;
    // files of the first have none, and the footer changes nothing else.
    static const QByteArray signature("TRUEVISION-XFILE.\0", 18);
    if (!bytes.endsWith(signature))
        bytes.append(QByteArray(8, '\0')).append(signature);
    // A run-length packet repeats one pixel up to 128 times.
    return spi::decodeWithQt(bytes, "tga", 128, pHBInfo, pHBm);
}
