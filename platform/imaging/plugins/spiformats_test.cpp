// Our plug-ins on pictures written by other programs, compared pixel for
// pixel with what those programs read back; and the plug-ins on hostile
// inputs: they answer at once and take no more memory than the picture.
#include "platform/imaging/plugins/spiabi.h"
#include "platform/imaging/plugins/spihost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vx;

namespace {

SpiGetPicture entry(const char *plugin)
{
    setPluginFolder({});
    return reinterpret_cast<SpiGetPicture>(BindPluginEntry(QString::fromLatin1(plugin), "GetPicture"));
}

// The bitmap a plug-in hands over, as straight RGBA: a 32-bit bitmap keeps
// its fourth byte as alpha, every other depth is opaque.
struct Decoded {
    int code = -100;
    int depth = 0;
    QImage image;
};

Decoded decode(SpiGetPicture getPicture, const QByteArray &path)
{
    Decoded d;
    SpiHandle info = nullptr, bits = nullptr;
    d.code = getPicture(path.constData(), 0, SPI_INPUT_FILE, &info, &bits, nullptr, 0);
    if (d.code == 0 && info && bits) {
        const auto *h = static_cast<const SpiBitmapInfoHeader *>(LocalLock(info));
        const auto *rows = static_cast<const unsigned char *>(LocalLock(bits));
        const auto *palette = reinterpret_cast<const unsigned char *>(h + 1);
        d.depth = h->biBitCount;
        const int w = h->biWidth, hh = std::abs(h->biHeight);
        const size_t stride = ((size_t(w) * h->biBitCount + 31) / 32) * 4;
        EXPECT_GE(LocalSize(bits), stride * size_t(hh));
        d.image = QImage(w, hh, QImage::Format_ARGB32);
        for (int y = 0; y < hh; ++y) {
            const unsigned char *row = rows + size_t(h->biHeight < 0 ? y : hh - 1 - y) * stride;
            for (int x = 0; x < w; ++x) {
                QRgb px = 0;
                switch (h->biBitCount) {
                case 1:
                case 8: {
                    const unsigned i = h->biBitCount == 8 ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
                    EXPECT_LT(i, h->biClrUsed ? h->biClrUsed : 1u << h->biBitCount);
                    const unsigned char *c = palette + i * 4;
                    px = qRgb(c[2], c[1], c[0]);
                    break;
                }
                case 24:
                    px = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                    break;
                case 32:
                    px = qRgba(row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3]);
                    break;
                default:
                    ADD_FAILURE() << "depth " << h->biBitCount;
                }
                d.image.setPixel(x, y, px);
            }
        }
        LocalUnlock(info);
        LocalUnlock(bits);
    } else {
        EXPECT_TRUE(!info && !bits) << "code " << d.code << " with blocks";
    }
    LocalFree(info);
    LocalFree(bits);
    return d;
}

QString testdata(const char *sub)
{
    return QStringLiteral(VX_PLUGIN_TESTDATA "/") + QLatin1String(sub);
}

// Where two pictures differ, as "x,y: got vs want" for the first few.
QString differences(const QImage &got, const QImage &want)
{
    if (got.size() != want.size())
        return QStringLiteral("size %1x%2, want %3x%4")
            .arg(got.width()).arg(got.height()).arg(want.width()).arg(want.height());
    QStringList out;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y) && out.size() < 4)
                out << QStringLiteral("%1,%2: %3 vs %4")
                           .arg(x).arg(y).arg(got.pixel(x, y), 8, 16, QLatin1Char('0'))
                           .arg(want.pixel(x, y), 8, 16, QLatin1Char('0'));
    return out.join(QStringLiteral("; "));
}

} // namespace

// Every type (colour-mapped, true-colour, grey; plain and run-length), every
// depth, map entries of every width, both row orders, mirrored rows: the
// pixels PIL (or ImageMagick, where PIL cannot read the layout) gives.
TEST(TargaFiles, DecodeToThePixelsAnotherReaderGives)
{
    const SpiGetPicture getPicture = entry("iftga.spi");
    ASSERT_TRUE(getPicture);
    const QDir dir(testdata("tga"));
    const QStringList files = dir.entryList({QStringLiteral("*.tga")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 40);
    const qint64 live = LocalLiveBlocks();
    for (const QString &file : files) {
        const QImage want = QImage(dir.filePath(QString(file).replace(QLatin1String(".tga"), QLatin1String(".png"))))
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(want.isNull()) << qPrintable(file);
        const Decoded got = decode(getPicture, QFile::encodeName(dir.filePath(file)));
        ASSERT_EQ(got.code, 0) << qPrintable(file);
        // Alpha is handed over in 32-bit bitmaps; the rest are opaque pictures.
        QImage expected = want;
        if (got.depth != 32)
            expected = want.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32);
        const bool hasAlpha = file.contains(QLatin1String("32")) || file.contains(QLatin1String("grey16"));
        EXPECT_EQ(got.depth == 32, hasAlpha) << qPrintable(file) << " depth " << got.depth;
        EXPECT_EQ(differences(got.image, expected).toStdString(), "") << qPrintable(file);
    }
    EXPECT_EQ(LocalLiveBlocks(), live);
}
