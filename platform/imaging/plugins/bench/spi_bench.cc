// One decoder on one picture file, in this process: the first decode (fresh
// process, memory never touched before) and the later ones (median), in
// milliseconds, and the memory the first decode touched for the first time
// (minor page faults, in MB: at a few ms a MB it is much of the first
// decode's time, and no load changes it) by the first decode and by a later
// one (median), on one line: "first steady MB MB-steady".
//   spi_bench plugin FILE.spi PICTURE ROUNDS   our plug-in's GetPicture
//   spi_bench libtiff|libjpeg|qt|sdl PICTURE ROUNDS
// The libraries decode the file the simplest fast way each offers, into a
// buffer of their own taken for each decode: the floor our plug-ins answer to.
#include "platform/imaging/plugins/spiabi.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/resource.h>
#include <jpeglib.h>
#include <string>
#include <tiffio.h>
#include <vector>

namespace {

bool viaLibtiff(const char *path)
{
    TIFF *tif = TIFFOpen(path, "r");
    if (!tif)
        return false;
    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    const tmsize_t line = TIFFScanlineSize(tif);
    auto *out = static_cast<unsigned char *>(std::malloc(size_t(line) * h));
    bool ok = out != nullptr;
    for (uint32_t y = 0; ok && y < h; ++y)
        ok = TIFFReadScanline(tif, out + size_t(y) * size_t(line), y, 0) >= 0;
    std::free(out);
    TIFFClose(tif);
    return ok;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

bool viaLibjpeg(const char *path)
{
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return false;
    jpeg_decompress_struct c;
    JpegError err;
    c.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr ci) { std::longjmp(reinterpret_cast<JpegError *>(ci->err)->jump, 1); };
    unsigned char *volatile out = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&c);
        std::free(out);
        std::fclose(f);
        return false;
    }
    jpeg_create_decompress(&c);
    jpeg_stdio_src(&c, f);
    jpeg_read_header(&c, TRUE);
    jpeg_start_decompress(&c);
    const size_t stride = size_t(c.output_width) * size_t(c.output_components);
    out = static_cast<unsigned char *>(std::malloc(stride * c.output_height));
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = out + stride * c.output_scanline;
        jpeg_read_scanlines(&c, &row, 1);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    std::free(out);
    std::fclose(f);
    return true;
}

bool viaQt(const char *path)
{
    QImageReader reader(QString::fromLocal8Bit(path));
    QImage image;
    return reader.read(&image);
}

bool viaSdl(const char *path)
{
    SDL_Surface *s = IMG_Load(path);
    if (!s)
        return false;
    SDL_FreeSurface(s);
    return true;
}

SpiGetPicture plugin = nullptr;

bool viaPlugin(const char *path)
{
    SpiHandle info = nullptr, bits = nullptr;
    const int code = plugin(path, 0, SPI_INPUT_FILE, &info, &bits, nullptr, 0);
    LocalFree(info);
    LocalFree(bits);
    return code == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    const std::string what = argv[1];
    int arg = 2;
    bool (*decode)(const char *) = nullptr;
    if (what == "plugin") {
        void *lib = dlopen(argv[arg++], RTLD_NOW | RTLD_LOCAL);
        plugin = lib ? reinterpret_cast<SpiGetPicture>(dlsym(lib, "GetPicture")) : nullptr;
        if (!plugin) {
            std::fprintf(stderr, "%s\n", dlerror());
            return 2;
        }
        decode = viaPlugin;
    } else if (what == "libtiff") {
        TIFFSetWarningHandler(nullptr);
        decode = viaLibtiff;
    } else if (what == "libjpeg") {
        decode = viaLibjpeg;
    } else if (what == "qt") {
        decode = viaQt;
    } else if (what == "sdl") {
        decode = viaSdl;
    } else {
        return 2;
    }
    if (argc < arg + 2)
        return 2;
    const char *path = argv[arg];
    const int rounds = std::max(1, std::atoi(argv[arg + 1]));
    // Qt's image readers want an application object, as they have in the program.
    int qargc = 1;
    char name[] = "spi_bench";
    char *qargv[] = {name, nullptr};
    QGuiApplication app(qargc, qargv);
    std::vector<double> times;
    auto faults = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return u.ru_minflt;
    };
    std::vector<long> touched;
    for (int i = 0; i < rounds; ++i) {
        const long before = faults();
        const auto t0 = std::chrono::steady_clock::now();
        if (!decode(path)) {
            std::fprintf(stderr, "%s: cannot decode %s\n", what.c_str(), path);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        touched.push_back(faults() - before);
    }
    std::vector<double> later(times.begin() + 1, times.end());
    std::sort(later.begin(), later.end());
    std::vector<long> laterTouched(touched.begin() + 1, touched.end());
    std::sort(laterTouched.begin(), laterTouched.end());
    const double mb = double(sysconf(_SC_PAGESIZE)) / 1048576.0;
    std::printf("%.1f %.1f %.1f %.1f\n", times[0], later.empty() ? times[0] : later[later.size() / 2],
                double(touched[0]) * mb,
                double(laterTouched.empty() ? touched[0] : laterTouched[laterTouched.size() / 2]) * mb);
    return 0;
}
