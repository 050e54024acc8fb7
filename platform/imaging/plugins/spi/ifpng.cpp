// PNG pictures through Qt's reader; PCX pictures through SDL2_image's reader.
#include "spiqt.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

namespace {

bool isPng(const QByteArray &b)
{
    return b.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8));
}

unsigned le16(const QByteArray &b, int at)
{
    return uchar(b[at]) | (unsigned(uchar(b[at + 1])) << 8);
}

int decodePcx(const QByteArray &bytes, SpiHandle *pInfo, SpiHandle *pBits)
{
    if (bytes.size() < 128 || uchar(bytes[0]) != 0x0A || uchar(bytes[2]) > 1)
        return SPI_UNKNOWN_FORMAT;
    const int bpp = uchar(bytes[3]);
    const int planes = uchar(bytes[65]);
    if ((bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8) || planes < 1 || planes > 4)
        return SPI_BROKEN_DATA;
    const int64_t width = int64_t(le16(bytes, 8)) - le16(bytes, 4) + 1;
    const int64_t height = int64_t(le16(bytes, 10)) - le16(bytes, 6) + 1;
    if (width <= 0 || height <= 0)
        return SPI_BROKEN_DATA;
    const uint64_t bytesPerLine = le16(bytes, 66);
    if (bytesPerLine == 0 || bytesPerLine * 8 < uint64_t(width) * uint64_t(bpp))
        return SPI_BROKEN_DATA;
    // A run of 63 bytes costs two bytes of the file; each byte is at most 8 pixels.
    const uint64_t rowBytes = bytesPerLine * uint64_t(planes);
    if (rowBytes * uint64_t(height) > uint64_t(bytes.size()) * 32 || !spi::sizeAllowed(width, height, 32))
        return SPI_NO_MEMORY;
    SDL_RWops *rw = SDL_RWFromConstMem(bytes.constData(), int(bytes.size()));
    if (!rw)
        return SPI_NO_MEMORY;
    SDL_Surface *surface = IMG_LoadPCX_RW(rw);
    SDL_RWclose(rw);
    if (!surface)
        return SPI_BROKEN_DATA;
    SDL_Surface *rgb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(surface);
    if (!rgb)
        return SPI_NO_MEMORY;
    int code = SPI_OK;
    spi::Dib dib;
    if (!dib.create(rgb->w, rgb->h, 24)) {
        code = dib.code;
    } else {
        SDL_LockSurface(rgb);
        for (int y = 0; y < rgb->h; ++y) {
            const unsigned char *s = static_cast<const unsigned char *>(rgb->pixels) + size_t(y) * size_t(rgb->pitch);
            unsigned char *d = dib.row(y);
            for (int x = 0; x < rgb->w; ++x, s += 3, d += 3) {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
        }
        SDL_UnlockSurface(rgb);
        dib.handOver(pInfo, pBits);
    }
    SDL_FreeSurface(rgb);
    return code;
}

} // namespace

SPI_EXPORT int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                              SpiProgressCallback, intptr_t)
{
    if (!spi::clearOutputs(pHBInfo, pHBm))
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    const QByteArray bytes = spi::asByteArray(src);
    if (src.code != SPI_OK)
        return src.code;
    if (isPng(bytes))
        // Deflate packs at most 1032 bytes of rows into one; a row byte holds
        // up to eight pixels.
        return spi::decodeWithQt(bytes, "png", 1032 * 8, pHBInfo, pHBm);
    return decodePcx(bytes, pHBInfo, pHBm);
}
