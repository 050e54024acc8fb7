// Our plug-ins on pictures written by other programs, compared pixel for
// pixel with what those programs read back; and the plug-ins on hostile
// inputs: they answer at once and take no more memory than the picture.
#include "platform/imaging/plugins/spiabi.h"
#include "platform/imaging/plugins/spihost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>
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

// The file `path` decoded from the file, or read whole and decoded from memory.
Decoded decode(SpiGetPicture getPicture, const QByteArray &path, bool fromMemory = false)
{
    Decoded d;
    SpiHandle info = nullptr, bits = nullptr;
    QByteArray bytes;
    if (fromMemory) {
        QFile f(QFile::decodeName(path));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
        d.code = getPicture(bytes.constData(), int32_t(bytes.size()), SPI_INPUT_MEMORY, &info, &bits, nullptr, 0);
    } else {
        d.code = getPicture(path.constData(), 0, SPI_INPUT_FILE, &info, &bits, nullptr, 0);
    }
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

// 1-bit pictures black and white unless the header's colours are plainly
// meant; 2 and 4 bits a pixel in planes or packed; 8-bit grey and mapped;
// 24-bit in three planes: the pixels PIL (or ImageMagick) gives.
// Tall plain files whose rows are padded in the bitmap, stored either way up:
// rows read a batch at a time land where they belong in every batch.
TEST(TargaFiles, TallPlainFilesKeepEveryRowInPlace)
{
    const SpiGetPicture getPicture = entry("iftga.spi");
    ASSERT_TRUE(getPicture);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int width = 5, height = 40000;
    const auto sample = [](int x, int y, int ch) { return (x * 31 + y * 3 + ch * 90) & 255; };
    for (const int type : {2, 3}) {
        for (const bool topDown : {false, true}) {
            const int channels = type == 2 ? 3 : 1;
            QByteArray file(18, '\0');
            file[2] = char(type);
            file[12] = char(width);
            file[14] = char(height & 0xFF);
            file[15] = char(height >> 8);
            file[16] = char(channels * 8);
            file[17] = char(topDown ? 0x20 : 0);
            QImage want(width, height, QImage::Format_ARGB32);
            for (int i = 0; i < height; ++i) {
                const int y = topDown ? i : height - 1 - i;
                for (int x = 0; x < width; ++x) {
                    for (int ch = channels; ch-- > 0;) // blue first
                        file += char(sample(x, y, ch));
                    want.setPixel(x, y, channels == 3 ? qRgb(sample(x, y, 0), sample(x, y, 1), sample(x, y, 2))
                                                      : qRgb(sample(x, y, 0), sample(x, y, 0), sample(x, y, 0)));
                }
            }
            const QString path = dir.filePath(QStringLiteral("tall%1%2.tga").arg(type).arg(topDown));
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(file);
            out.close();
            const Decoded got = decode(getPicture, QFile::encodeName(path));
            ASSERT_EQ(got.code, 0) << type << " " << topDown;
            EXPECT_EQ(differences(got.image, want).toStdString(), "") << type << " " << topDown;
        }
    }
}

TEST(PcxFiles, DecodeToThePixelsAnotherReaderGives)
{
    const SpiGetPicture getPicture = entry("ifpng.spi");
    ASSERT_TRUE(getPicture);
    const QDir dir(testdata("pcx"));
    const QStringList files = dir.entryList({QStringLiteral("*.pcx")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 12);
    for (const QString &file : files) {
        const QImage want = QImage(dir.filePath(QString(file).replace(QLatin1String(".pcx"), QLatin1String(".png"))))
                                .convertToFormat(QImage::Format_RGB32)
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(want.isNull()) << qPrintable(file);
        const Decoded got = decode(getPicture, QFile::encodeName(dir.filePath(file)));
        ASSERT_EQ(got.code, 0) << qPrintable(file);
        EXPECT_EQ(differences(got.image, want).toStdString(), "") << qPrintable(file);
    }
}

// Runs where a reader is likely to slip: a run's count as the last byte of
// one read buffer and its value the first of the next, and a run going on
// from one row into the next; from a file and from memory.
TEST(PcxFiles, RunsCutByTheReadBufferOrARowEndDecodeWhole)
{
    const SpiGetPicture getPicture = entry("ifpng.spi");
    ASSERT_TRUE(getPicture);
    const int width = 1000, height = 300;
    const int bufferEnd = 1 << 18; // the reader's buffer, counted from the pixels on
    std::vector<unsigned char> px;
    QByteArray coded;
    auto runOf = [&](int n, unsigned char v) {
        coded += char(0xC0 | n);
        coded += char(v);
        px.insert(px.end(), size_t(n), v);
    };
    while (px.size() < size_t(width) * height) {
        const size_t i = px.size();
        if (coded.size() == bufferEnd - 1)
            runOf(5, 7);
        else if (i == size_t(10 * width + width - 4))
            runOf(10, 9);
        else {
            const unsigned char v = (unsigned char)((i * 7 + i / width) % 192);
            coded += char(v);
            px.push_back(v);
        }
    }
    QByteArray file(128, '\0');
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = 8;
    file[8] = char((width - 1) & 0xFF);
    file[9] = char((width - 1) >> 8);
    file[10] = char((height - 1) & 0xFF);
    file[11] = char((height - 1) >> 8);
    file[65] = 1;
    file[66] = char(width & 0xFF);
    file[67] = char(width >> 8);
    file += coded;
    file += char(12);
    for (int c = 0; c < 256; ++c)
        file += char(c), file += char(255 - c), file += char(c / 2);
    QImage want(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int c = px[size_t(y) * width + size_t(x)];
            want.setPixel(x, y, qRgb(c, 255 - c, c / 2));
        }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("runs.pcx"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    for (const bool fromMemory : {false, true}) {
        const Decoded got = decode(getPicture, QFile::encodeName(path), fromMemory);
        ASSERT_EQ(got.code, 0) << (fromMemory ? "from memory" : "from the file");
        EXPECT_EQ(differences(got.image, want).toStdString(), "") << (fromMemory ? "from memory" : "from the file");
    }
}

// The first frame of GIFs of 2 to 256 colours, plain and interlaced: the
// pixels PIL gives.
TEST(GifFiles, DecodeToThePixelsAnotherReaderGives)
{
    const SpiGetPicture getPicture = entry("ifgif.spi");
    ASSERT_TRUE(getPicture);
    const QDir dir(testdata("gif"));
    const QStringList files = dir.entryList({QStringLiteral("*.gif")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 5);
    for (const QString &file : files) {
        const QImage want = QImage(dir.filePath(QString(file).replace(QLatin1String(".gif"), QLatin1String(".png"))))
                                .convertToFormat(QImage::Format_RGB32)
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(want.isNull()) << qPrintable(file);
        const Decoded got = decode(getPicture, QFile::encodeName(dir.filePath(file)));
        ASSERT_EQ(got.code, 0) << qPrintable(file);
        EXPECT_EQ(differences(got.image, want).toStdString(), "") << qPrintable(file);
    }
}

// PNG of every colour type, 1 to 8 bits, plain and interlaced, with alpha
// or a transparent colour: the pixels PIL gives, alpha in 32-bit bitmaps.
TEST(PngFiles, DecodeToThePixelsAnotherReaderGives)
{
    const SpiGetPicture getPicture = entry("ifpng.spi");
    ASSERT_TRUE(getPicture);
    const QDir dir(testdata("png"));
    QStringList files = dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    files = files.filter(QRegularExpression(QStringLiteral("^[^.]*\\.png$")));
    ASSERT_GE(files.size(), 12);
    for (const QString &file : files) {
        const QImage want =
            QImage(dir.filePath(QString(file).replace(QLatin1String(".png"), QLatin1String(".ref.png"))))
                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(want.isNull()) << qPrintable(file);
        const Decoded got = decode(getPicture, QFile::encodeName(dir.filePath(file)));
        ASSERT_EQ(got.code, 0) << qPrintable(file);
        const bool alpha = file.contains(QLatin1String("alpha")) || file.contains(QLatin1String("rgba")) ||
            file.contains(QLatin1String("transparent"));
        EXPECT_EQ(got.depth == 32, alpha) << qPrintable(file) << " depth " << got.depth;
        const QImage expected =
            alpha ? want : want.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(differences(got.image, expected).toStdString(), "") << qPrintable(file);
    }
}

// Any-maps raw and plain, 8-bit and of a smaller largest value: the pixels
// PIL gives.
TEST(AnyMapFiles, DecodeToThePixelsAnotherReaderGives)
{
    const SpiGetPicture getPicture = entry("ifpnm.spi");
    ASSERT_TRUE(getPicture);
    const QDir dir(testdata("pnm"));
    const QStringList files =
        dir.entryList({QStringLiteral("*.ppm"), QStringLiteral("*.pgm"), QStringLiteral("*.pbm")}, QDir::Files);
    ASSERT_GE(files.size(), 7);
    for (const QString &file : files) {
        const QImage want = QImage(dir.filePath(file + QLatin1String(".ref.png")))
                                .convertToFormat(QImage::Format_RGB32)
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(want.isNull()) << qPrintable(file);
        const Decoded got = decode(getPicture, QFile::encodeName(dir.filePath(file)));
        ASSERT_EQ(got.code, 0) << qPrintable(file);
        EXPECT_EQ(differences(got.image, want).toStdString(), "") << qPrintable(file);
    }
}

// Tall raw maps whose rows run past the reader's buffer (one row cut by its
// end) and past a batch of rows read at once: every row lands where it
// belongs, from a file and from memory, padding and all.
TEST(AnyMapFiles, TallMapsReadStraightIntoTheBitmapKeepEveryRowInPlace)
{
    const SpiGetPicture getPicture = entry("ifpnm.spi");
    ASSERT_TRUE(getPicture);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        char kind;
        int width, height;
    };
    // 61 and 41 bytes a row: the first rows come from the buffer, a row
    // straddles its end, and thousands are left for the batches.
    for (const Case c : {Case{'5', 61, 6000}, Case{'6', 41, 3000}, Case{'4', 93, 25000}}) {
        const int channels = c.kind == '6' ? 3 : 1;
        const auto sample = [&](int x, int y, int ch) { return (x * 7 + y * 13 + ch * 101) & 255; };
        QByteArray file = QStringLiteral("P%1\n%2 %3\n").arg(c.kind).arg(c.width).arg(c.height).toLatin1();
        if (c.kind != '4')
            file += "255\n";
        QImage want(c.width, c.height, QImage::Format_ARGB32);
        for (int y = 0; y < c.height; ++y) {
            QByteArray row;
            if (c.kind == '4') {
                row.fill('\0', (c.width + 7) / 8);
                for (int x = 0; x < c.width; ++x) {
                    const bool black = sample(x, y, 0) & 16;
                    if (black)
                        row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
                    want.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
                }
            } else {
                for (int x = 0; x < c.width; ++x) {
                    int v[3];
                    for (int ch = 0; ch < channels; ++ch) {
                        v[ch] = sample(x, y, ch);
                        row += char(v[ch]);
                    }
                    want.setPixel(x, y, channels == 3 ? qRgb(v[0], v[1], v[2]) : qRgb(v[0], v[0], v[0]));
                }
            }
            file += row;
        }
        const QString path = dir.filePath(QStringLiteral("tall.p%1m").arg(c.kind));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        for (const bool fromMemory : {false, true}) {
            const Decoded got = decode(getPicture, QFile::encodeName(path), fromMemory);
            ASSERT_EQ(got.code, 0) << c.kind << (fromMemory ? " from memory" : " from the file");
            EXPECT_EQ(differences(got.image, want).toStdString(), "")
                << c.kind << (fromMemory ? " from memory" : " from the file");
        }
    }
}

namespace {

// A baseline TIFF, little-endian, uncompressed: `samples` 1 (grey) or 3
// (RGB), `perStrip` rows a strip, the strips stored last to first (readers
// must follow the offsets); the last strip's byte count cut by `cutLast`;
// fill order 2 stores each byte's bits the other way round.
QByteArray uncompressedTiff(int width, int height, int samples, int perStrip, int cutLast,
                            const std::function<int(int, int, int)> &sample, int fillOrder = 1)
{
    const int strips = (height + perStrip - 1) / perStrip;
    std::vector<QByteArray> data(static_cast<size_t>(strips));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int ch = 0; ch < samples; ++ch)
                data[size_t(y / perStrip)] += char(sample(x, y, ch));
    QByteArray out("II*\0\0\0\0\0", 8);
    std::vector<quint32> offsets(static_cast<size_t>(strips)), counts(static_cast<size_t>(strips));
    for (int i = strips - 1; i >= 0; --i) {
        offsets[size_t(i)] = quint32(out.size());
        counts[size_t(i)] = quint32(data[size_t(i)].size() - (i == strips - 1 ? cutLast : 0));
        out += data[size_t(i)];
    }
    auto le16 = [](QByteArray &b, quint32 v) { b += char(v & 0xFF); b += char(v >> 8 & 0xFF); };
    auto le32 = [&](QByteArray &b, quint32 v) { le16(b, v & 0xFFFF); le16(b, v >> 16); };
    const quint32 offsetsAt = quint32(out.size());
    for (const quint32 o : offsets)
        le32(out, o);
    const quint32 countsAt = quint32(out.size());
    for (const quint32 c : counts)
        le32(out, c);
    const quint32 bitsAt = quint32(out.size());
    for (int ch = 0; ch < 3; ++ch)
        le16(out, 8);
    if (out.size() % 2)
        out += '\0';
    const quint32 ifd = quint32(out.size());
    out[4] = char(ifd & 0xFF);
    out[5] = char(ifd >> 8 & 0xFF);
    out[6] = char(ifd >> 16 & 0xFF);
    out[7] = char(ifd >> 24);
    struct Entry {
        quint16 tag, type;
        quint32 count, value;
    };
    const std::vector<Entry> entries = {
        {256, 4, 1, quint32(width)},
        {257, 4, 1, quint32(height)},
        {258, 3, quint32(samples), samples == 3 ? bitsAt : 8},
        {259, 3, 1, 1},
        {262, 3, 1, samples == 3 ? 2u : 1u},
        {266, 3, 1, quint32(fillOrder)},
        {273, 4, quint32(strips), strips == 1 ? offsets[0] : offsetsAt},
        {277, 3, 1, quint32(samples)},
        {278, 4, 1, quint32(perStrip)},
        {279, 4, quint32(strips), strips == 1 ? counts[0] : countsAt},
    };
    le16(out, quint32(entries.size()));
    for (const Entry &e : entries) {
        le16(out, e.tag);
        le16(out, e.type);
        le32(out, e.count);
        if (e.type == 3 && e.count == 1) {
            le16(out, e.value);
            le16(out, 0);
        } else {
            le32(out, e.value);
        }
    }
    le32(out, 0);
    return out;
}

} // namespace

// Uncompressed grey and RGB strips, the last one short of rows, stored out of
// order, from a file and from memory: the pixels written; a strip whose byte
// count is short of its rows is read as far as it goes, never past it.
TEST(TiffFiles, UncompressedStripsDecodeToTheirPixels)
{
    const SpiGetPicture getPicture = entry("iftiff.spi");
    ASSERT_TRUE(getPicture);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto sample = [](int x, int y, int ch) { return (x * 5 + y * 11 + ch * 77) & 255; };
    for (const int samples : {1, 3}) {
        const int width = 37, height = 20;
        QImage want(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                want.setPixel(x, y, samples == 3 ? qRgb(sample(x, y, 0), sample(x, y, 1), sample(x, y, 2))
                                                 : qRgb(sample(x, y, 0), sample(x, y, 0), sample(x, y, 0)));
        const QString path = dir.filePath(QStringLiteral("strips%1.tif").arg(samples));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(uncompressedTiff(width, height, samples, 7, 0, sample));
        out.close();
        for (const bool fromMemory : {false, true}) {
            const Decoded got = decode(getPicture, QFile::encodeName(path), fromMemory);
            ASSERT_EQ(got.code, 0) << samples << (fromMemory ? " from memory" : " from the file");
            EXPECT_EQ(got.depth, samples == 3 ? 24 : 8);
            EXPECT_EQ(differences(got.image, want).toStdString(), "")
                << samples << (fromMemory ? " from memory" : " from the file");
        }
        // Bits stored the other way round in each byte are turned back.
        QFile reversed(path);
        ASSERT_TRUE(reversed.open(QIODevice::WriteOnly));
        reversed.write(uncompressedTiff(width, height, samples, 7, 0, sample, 2));
        reversed.close();
        QImage wantReversed = want;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                auto rev = [](int v) {
                    int r = 0;
                    for (int b = 0; b < 8; ++b)
                        r |= ((v >> b) & 1) << (7 - b);
                    return r;
                };
                const QRgb c = want.pixel(x, y);
                wantReversed.setPixel(x, y, qRgb(rev(qRed(c)), rev(qGreen(c)), rev(qBlue(c))));
            }
        const Decoded turned = decode(getPicture, QFile::encodeName(path));
        ASSERT_EQ(turned.code, 0) << samples << " fill order 2";
        EXPECT_EQ(differences(turned.image, wantReversed).toStdString(), "") << samples << " fill order 2";
        // The last strip claims one row less than it should hold.
        QFile cut(path);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(uncompressedTiff(width, height, samples, 7, width * samples, sample));
        cut.close();
        const Decoded got = decode(getPicture, QFile::encodeName(path));
        if (got.code == 0) {
            for (int y = 0; y < height - 1; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(got.image.pixel(x, y), want.pixel(x, y)) << samples << " at " << x << "," << y;
        }
    }
}

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes) {
        c ^= uchar(b);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

QByteArray be32(quint32 n)
{
    return QByteArray(1, char(n >> 24)) + char(n >> 16) + char(n >> 8) + char(n);
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    return be32(quint32(data.size())) + body + be32(crc32(body));
}

// An 8 x 8 grey picture, then a chunk header claiming `length` bytes.
QByteArray pngClaiming(quint32 length)
{
    QByteArray ihdr("\0\0\0\x08\0\0\0\x08\x08\0\0\0\0", 13);
    QByteArray rows(8 * 9, '\0');
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR", ihdr) + chunk("IDAT", qCompress(rows).mid(4));
    png += be32(length) + QByteArray("tEXt", 4);
    return png;
}

long peakKilobytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The fastest of five calls, in milliseconds (one slow call on a busy
// machine says nothing of the plug-in), and the code of the last.
double fastestMs(SpiGetPicture getPicture, const QByteArray &path, int *code)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        SpiHandle info = nullptr, bits = nullptr;
        QElapsedTimer t;
        t.start();
        *code = getPicture(path.constData(), 0, SPI_INPUT_FILE, &info, &bits, nullptr, 0);
        best = std::min(best, t.nsecsElapsed() / 1e6);
        EXPECT_TRUE(!info && !bits);
        LocalFree(info);
        LocalFree(bits);
    }
    return best;
}

} // namespace

// A PNG of under 100 bytes whose last chunk claims 2 GB (or 600 MB) is refused at once,
// before any memory is taken for the claim.
TEST(HostileFiles, PngChunkLongerThanTheFileIsRefusedAtOnce)
{
    const SpiGetPicture getPicture = entry("ifpng.spi");
    ASSERT_TRUE(getPicture);
    QTemporaryDir dir;
    const long before = peakKilobytes();
    for (const quint32 length : {0x7FFFFFFFu, 620757029u}) {
        const QByteArray bytes = pngClaiming(length);
        ASSERT_LT(bytes.size(), 100);
        const QString path = dir.filePath(QStringLiteral("x.png"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        int code = 0;
        EXPECT_LT(fastestMs(getPicture, QFile::encodeName(path), &code), 10.0) << length;
        EXPECT_EQ(code, SPI_BROKEN_DATA) << length;
    }
    EXPECT_LT(peakKilobytes() - before, 20 * 1024);
}

// A FIFO with no writer, a link to /dev/zero, a folder named like a picture
// and a 4 GB sparse file: every plug-in answers at once with a read error.
TEST(HostileFiles, NoPluginWaitsOnOrReadsWhatIsNotAFileOfPictureSize)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct stat devZero {};
    ASSERT_TRUE(::stat("/dev/zero", &devZero) == 0 && S_ISCHR(devZero.st_mode)) << "this machine's /dev/zero is no device";
    const QString zero = dir.filePath(QStringLiteral("zero"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString sparse = dir.filePath(QStringLiteral("sparse"));
    {
        QFile f(sparse);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(4) << 30));
    }
    const long before = peakKilobytes();
    for (const char *plugin : {"iftiff.spi", "ifjpeg.spi", "ifpnm.spi", "ifgif.spi", "iftga.spi", "ifpng.spi"}) {
        const SpiGetPicture getPicture = entry(plugin);
        ASSERT_TRUE(getPicture) << plugin;
        const auto getInfo =
            reinterpret_cast<SpiGetPictureInfo>(BindPluginEntry(QString::fromLatin1(plugin), "GetPictureInfo"));
        for (const QString &path : {fifo, zero, folder, sparse}) {
            int code = 0;
            EXPECT_LT(fastestMs(getPicture, QFile::encodeName(path), &code), 50.0) << plugin << " " << qPrintable(path);
            EXPECT_EQ(code, SPI_READ_ERROR) << plugin << " " << qPrintable(path);
            if (getInfo) {
                SpiPictureInfo info{};
                QElapsedTimer t;
                t.start();
                EXPECT_EQ(getInfo(QFile::encodeName(path).constData(), 0, SPI_INPUT_FILE, &info), SPI_READ_ERROR)
                    << plugin << " " << qPrintable(path);
                EXPECT_LT(t.elapsed(), 1000) << plugin << " " << qPrintable(path);
            }
        }
    }
    EXPECT_LT(peakKilobytes() - before, 20 * 1024);
}
