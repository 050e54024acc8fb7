// JPEG pictures through libjpeg-turbo.
#include "spicommon.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorExit {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorExit *>(cinfo->err)->jump, 1);
}

void onMessage(j_common_ptr, int) {}

// A progressive file of endless scans would keep the window waiting.
constexpr int kMaxScans = 1000;

void onProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > kMaxScans)
            std::longjmp(reinterpret_cast<ErrorExit *>(cinfo->err)->jump, 1);
    }
}

bool isJpeg(const spi::Input &in)
{
    return in.bytes.size() >= 3 && in.bytes[0] == 0xFF && in.bytes[1] == 0xD8 && in.bytes[2] == 0xFF;
}

// Every 8 x 8 block of every component costs at least one bit of the file.
bool plausible(const jpeg_decompress_struct &c, size_t bytes)
{
    const uint64_t blocks = ((uint64_t(c.image_width) + 7) / 8) * ((uint64_t(c.image_height) + 7) / 8);
    return blocks <= uint64_t(bytes) * 8 * (c.arith_code ? 4096 : 1);
}

// Decodes into `dib`; false with `code` set on failure. Kept apart from the
// entry point so that nothing with a destructor lives across the longjmp.
int decode(const spi::Input &in, spi::Dib &dib, bool headerOnly, SpiPictureInfo *info)
{
    jpeg_decompress_struct cinfo;
    ErrorExit err;
    jpeg_progress_mgr progress;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = onError;
    err.mgr.emit_message = onMessage;
    volatile int code = SPI_BROKEN_DATA;
    unsigned char *volatile line = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(line);
        return code;
    }
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;
    cinfo.mem->max_memory_to_use = long(spi::memoryAllowance() > (uint64_t(1) << 31) ? (uint64_t(1) << 31)
                                                                                     : spi::memoryAllowance());
    jpeg_mem_src(&cinfo, in.bytes.data(), (unsigned long)in.bytes.size());
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return SPI_BROKEN_DATA;
    }
    const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (headerOnly) {
        info->width = int32_t(cinfo.image_width);
        info->height = int32_t(cinfo.image_height);
        info->colorDepth = int16_t(gray ? 8 : 24);
        if (cinfo.density_unit == 1) {
            info->x_density = cinfo.X_density;
            info->y_density = cinfo.Y_density;
        }
        jpeg_destroy_decompress(&cinfo);
        return SPI_OK;
    }
    if (!plausible(cinfo, in.bytes.size()) || !spi::sizeAllowed(cinfo.image_width, cinfo.image_height, 24)) {
        jpeg_destroy_decompress(&cinfo);
        return SPI_NO_MEMORY;
    }
    cinfo.out_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int32_t width = int32_t(cinfo.output_width);
    const int32_t height = int32_t(cinfo.output_height);
    if (!dib.create(width, height, gray ? 8 : 24, gray ? 256 : 0)) {
        code = dib.code;
        jpeg_destroy_decompress(&cinfo);
        return code;
    }
    if (gray)
        for (int i = 0; i < 256; ++i)
            dib.setColor(i, unsigned(i), unsigned(i), unsigned(i));
    line = static_cast<unsigned char *>(std::malloc(size_t(width) * size_t(cinfo.output_components)));
    if (!line) {
        jpeg_destroy_decompress(&cinfo);
        return SPI_NO_MEMORY;
    }
    // Rows the file does not hold (a truncated file) stay black.
    while (cinfo.output_scanline < cinfo.output_height) {
        const int32_t y = int32_t(cinfo.output_scanline);
        JSAMPROW rows[1] = {line};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1)
            break;
        unsigned char *d = dib.row(y);
        if (gray) {
            std::memcpy(d, line, size_t(width));
        } else if (cmyk) {
            // Adobe's files store the inks inverted.
            for (int32_t x = 0; x < width; ++x, d += 3) {
                const unsigned c = line[x * 4], m = line[x * 4 + 1], ye = line[x * 4 + 2], k = line[x * 4 + 3];
                d[0] = (unsigned char)(ye * k / 255);
                d[1] = (unsigned char)(m * k / 255);
                d[2] = (unsigned char)(c * k / 255);
            }
        } else {
            for (int32_t x = 0; x < width; ++x, d += 3) {
                d[0] = line[x * 3 + 2];
                d[1] = line[x * 3 + 1];
                d[2] = line[x * 3];
            }
        }
    }
    std::free(line);
    line = nullptr;
    jpeg_abort_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return SPI_OK;
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
    if (!isJpeg(in))
        return SPI_UNKNOWN_FORMAT;
    spi::Dib dib;
    const int code = decode(in, dib, false, nullptr);
    if (code == SPI_OK)
        dib.handOver(pHBInfo, pHBm);
    return code;
}

SPI_EXPORT int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info)
{
    if (!info)
        return SPI_INTERNAL_ERROR;
    const spi::Input in = spi::readInput(buf, len, flag);
    if (in.code != SPI_OK)
        return in.code;
    if (!isJpeg(in))
        return SPI_UNKNOWN_FORMAT;
    *info = SpiPictureInfo{};
    spi::Dib unused;
    return decode(in, unused, true, info);
}
