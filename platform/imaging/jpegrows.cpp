// The background decode of a large colour JPEG: the window shows the rows
// as they arrive. libjpeg reports failures by a long jump: every call into it
// sits in a small function of plain locals.
#include "jpegrows.h"

#include "picturepool.h"
#include "picturerows.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <jpeglib.h>

namespace vx::detail {

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError *>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr, int) {}

struct RowDecode {
    jpeg_decompress_struct info{};
    JpegError error{};
    std::FILE *file = nullptr;
    bool created = false;
    RowDecode() = default;
    RowDecode(const RowDecode &) = delete;
    RowDecode &operator=(const RowDecode &) = delete;
    ~RowDecode()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }
};

// True when the header is one this decoder gives exactly as Qt's would: a
// colour JPEG of `size` (grey and CMYK pictures keep the format Qt gives them).
bool readJpegHeader(RowDecode &d, QSize size)
{
    d.info.err = jpeg_std_error(&d.error.mgr);
    d.error.mgr.error_exit = jpegFail;
    d.error.mgr.emit_message = jpegQuiet;
    if (setjmp(d.error.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_stdio_src(&d.info, d.file);
    jpeg_read_header(&d.info, TRUE);
    if (d.info.num_components != 3 || (d.info.jpeg_color_space != JCS_YCbCr && d.info.jpeg_color_space != JCS_RGB) ||
        int(d.info.image_width) != size.width() || int(d.info.image_height) != size.height())
        return false;
    // Qt's reader decodes the same way: accurate transform, smooth upsampling.
    d.info.out_color_space = JCS_EXT_BGRX;
    d.info.dct_method = JDCT_ISLOW;
    return true;
}

// Decodes into `bits` row by row, telling the readers as rows arrive; stops
// when nobody holds the picture any more. Rows a damaged file never delivers
// are mid-grey, as a cut JPEG shows them.
void decodeJpegRows(RowDecode &d, uchar *bits, qsizetype bytesPerLine, int height,
                    const std::weak_ptr<PictureRows> &readers)
{
    volatile int done = 0;
    volatile bool abandoned = false;
    if (setjmp(d.error.jump) == 0) {
        jpeg_start_decompress(&d.info);
        if (d.info.output_components == 4) {
            while (int(d.info.output_scanline) < height) {
                JSAMPROW row = bits + qsizetype(d.info.output_scanline) * bytesPerLine;
                jpeg_read_scanlines(&d.info, &row, 1);
                done = int(d.info.output_scanline);
                if (done % 16 == 0) {
                    const std::shared_ptr<PictureRows> rows = readers.lock();
                    if (!rows || rows->abandoned()) {
                        abandoned = true;
                        break;
                    }
                    rows->arrived(done);
                }
            }
        }
    }
    if (abandoned)
        return;
    for (int y = done; y < height; ++y)
        std::memset(bits + qsizetype(y) * bytesPerLine, 0x80, size_t(bytesPerLine));
    if (const std::shared_ptr<PictureRows> rows = readers.lock()) {
        rows->arrived(height);
        rows->finish();
    }
}

} // namespace

Picture startJpegRows(int fd, QSize size)
{
    auto d = std::make_shared<RowDecode>();
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return {};
    d->file = ::fdopen(own, "rb");
    if (!d->file) {
        ::close(own);
        return {};
    }
    if (std::fseek(d->file, 0, SEEK_SET) != 0 || !readJpegHeader(*d, size))
        return {};
    Picture pic;
    pic.image = pooledImage(size, QImage::Format_RGB32);
    if (pic.image.isNull())
        pic.image = QImage(size, QImage::Format_RGB32);
    if (pic.image.isNull())
        return {};
    // Written through this pointer only: no copy of the image may detach
    // before the rows are finished.
    uchar *bits = pic.image.bits();
    const qsizetype bytesPerLine = pic.image.bytesPerLine();
    pic.rows = std::make_shared<PictureRows>(size.height());
    // The worker keeps the pixels alive even when the picture is let go.
    std::thread([d, keep = pic.image, bits, bytesPerLine, readers = std::weak_ptr<PictureRows>(pic.rows)]() mutable {
        decodeJpegRows(*d, bits, bytesPerLine, keep.height(), readers);
        // The pixels go back before the holder hears the worker is done.
        keep = QImage();
        if (const std::shared_ptr<PictureRows> rows = readers.lock())
            rows->workerDone();
    }).detach();
    pic.format = QStringLiteral("jpeg");
    return pic;
}

} // namespace vx::detail
