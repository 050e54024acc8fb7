// JPEG pictures through libjpeg-turbo.
#include "spicommon.h"

#include <csetjmp>
#include <algorithm>
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

bool isJpeg(const spi::Source &src)
{
    unsigned char b[3];
    return src.readAt(0, b, 3) && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}

// Hands the decoder the file a buffer at a time, never the whole file at once.
struct FileSource {
    jpeg_source_mgr mgr;
    spi::Reader *reader;
};

void initSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *s = reinterpret_cast<FileSource *>(cinfo->src);
    size_t got = 0;
    const unsigned char *p = s->reader->takeSome(spi::Reader::kBuffer, got);
    if (!p) {
        // The end of a cut file: an end marker lets the decoder finish with grey rows.
        static const JOCTET eoi[2] = {0xFF, JPEG_EOI};
        p = eoi;
        got = 2;
    }
    s->mgr.next_input_byte = p;
    s->mgr.bytes_in_buffer = got;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    auto *s = reinterpret_cast<FileSource *>(cinfo->src);
    while (count > 0) {
        if (s->mgr.bytes_in_buffer == 0)
            fillInput(cinfo);
        const size_t n = std::min<size_t>(size_t(count), s->mgr.bytes_in_buffer);
        s->mgr.next_input_byte += n;
        s->mgr.bytes_in_buffer -= n;
        count -= long(n);
    }
}

void termSource(j_decompress_ptr) {}

// Every 8 x 8 block of every component costs at least one bit of the file.
bool plausible(const jpeg_decompress_struct &c, size_t bytes)
{
    const uint64_t blocks = ((uint64_t(c.image_width) + 7) / 8) * ((uint64_t(c.image_height) + 7) / 8);
    return blocks <= uint64_t(bytes) * 8 * (c.arith_code ? 4096 : 1);
}

// Decodes into `dib`; returns the plug-in's code. Kept apart from the entry
// point so that nothing with a destructor lives across the longjmp; the
// reader lives outside, so no local changed after setjmp is read after it.
int decode(const spi::Source &src, spi::Reader &reader, spi::Dib &dib, bool headerOnly, SpiPictureInfo *info)
{
    jpeg_decompress_struct cinfo;
    FileSource source;
    source.mgr.init_source = initSource;
    source.mgr.fill_input_buffer = fillInput;
    source.mgr.skip_input_data = skipInput;
    source.mgr.resync_to_restart = jpeg_resync_to_restart;
    source.mgr.term_source = termSource;
    source.mgr.next_input_byte = nullptr;
    source.mgr.bytes_in_buffer = 0;
    source.reader = &reader;
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
    cinfo.src = &source.mgr;
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
    if (!plausible(cinfo, size_t(src.size())) || !spi::sizeAllowed(cinfo.image_width, cinfo.image_height, 24)) {
        jpeg_destroy_decompress(&cinfo);
        return SPI_NO_MEMORY;
    }
    // Colour comes out in the bitmap's own order, straight into its rows.
    cinfo.out_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
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
    if (cmyk) {
        line = static_cast<unsigned char *>(std::malloc(size_t(width) * size_t(cinfo.output_components)));
        if (!line) {
            jpeg_destroy_decompress(&cinfo);
            return SPI_NO_MEMORY;
        }
    }
    // Rows the file does not hold (a cut file) come out grey.
    while (cinfo.output_scanline < cinfo.output_height) {
        const int32_t y = int32_t(cinfo.output_scanline);
        if (!cmyk) {
            JSAMPROW rows[16];
            const int32_t n = std::min<int32_t>(16, height - y);
            for (int32_t i = 0; i < n; ++i)
                rows[i] = dib.row(y + i);
            if (jpeg_read_scanlines(&cinfo, rows, JDIMENSION(n)) == 0)
                break;
            continue;
        }
        JSAMPROW rows[1] = {line};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1)
            break;
        unsigned char *d = dib.row(y);
        // Adobe's files store the inks inverted.
        for (int32_t x = 0; x < width; ++x, d += 3) {
            const unsigned c = line[x * 4], m = line[x * 4 + 1], ye = line[x * 4 + 2], k = line[x * 4 + 3];
            d[0] = (unsigned char)(ye * k / 255);
            d[1] = (unsigned char)(m * k / 255);
            d[2] = (unsigned char)(c * k / 255);
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
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    if (!isJpeg(src))
        return SPI_UNKNOWN_FORMAT;
    spi::Dib dib;
    spi::Reader reader(src);
    const int code = decode(src, reader, dib, false, nullptr);
    if (code == SPI_OK)
        dib.handOver(pHBInfo, pHBm);
    return code;
}

SPI_EXPORT int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info)
{
    if (!info)
        return SPI_INTERNAL_ERROR;
    spi::Source src(buf, len, flag);
    if (src.code != SPI_OK)
        return src.code;
    if (!isJpeg(src))
        return SPI_UNKNOWN_FORMAT;
    *info = SpiPictureInfo{};
    spi::Dib unused;
    spi::Reader reader(src);
    return decode(src, reader, unused, true, info);
}
