// Our plug-ins on files the test writes, and a bounded mutation run of each
// plug-in and the bitmap converter (the fuzz targets run the long version).
#include "platform/imaging/plugins/dibconvert.h"
#include "platform/imaging/plugins/pluginpicture.h"
#include "platform/imaging/plugins/spiabi.h"
#include "platform/imaging/plugins/spihost.h"
#include "testing/harness.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace vx;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(9000, 6000); }
    CanvasBox Picture1{this, QStringLiteral("Picture1")};
};

// 16 x 8: left half red, right half blue.
QImage sample()
{
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    QPainter(&img).fillRect(8, 0, 8, 8, Qt::blue);
    return img;
}

QByteArray encode(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, format);
    if (qstrcmp(format, "jpeg") == 0)
        w.setQuality(100);
    EXPECT_TRUE(w.write(img)) << format;
    return bytes;
}

// An uncompressed 24-bit TGA, rows bottom-up.
QByteArray tga(const QImage &img)
{
    QByteArray b(18, '\0');
    b[2] = 2;
    b[12] = char(img.width() & 0xFF);
    b[13] = char(img.width() >> 8);
    b[14] = char(img.height() & 0xFF);
    b[15] = char(img.height() >> 8);
    b[16] = 24;
    for (int y = img.height() - 1; y >= 0; --y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            b.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
        }
    return b;
}

// A run-length 8-bit PCX with a 256-colour palette at the end.
QByteArray pcx(const QImage &img)
{
    QByteArray b(128, '\0');
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    b[8] = char(img.width() - 1);
    b[10] = char(img.height() - 1);
    b[65] = 1;
    b[66] = char(img.width());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            b.append(char(0xC1)).append(char(img.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 2));
    b.append(char(12));
    QByteArray palette(768, '\0');
    palette[3] = char(255);  // 1 red
    palette[8] = char(255);  // 2 blue
    return b + palette;
}

QImage blackWhite()
{
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter(&img).fillRect(8, 0, 8, 8, Qt::white);
    return img;
}

// A two-colour GIF whose codes never outgrow three bits: a clear code
// after every second pixel keeps the table small.
QByteArray gif(const QImage &img)
{
    QByteArray b("GIF89a");
    auto le16 = [&b](int v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    le16(img.width());
    le16(img.height());
    b.append(char(0x81)).append('\0').append('\0'); // global table of 4 colours
    b.append(QByteArray("\xff\x00\x00\x00\x00\xff\x00\x00\x00\x00\x00\x00", 12));
    b.append(',');
    le16(0);
    le16(0);
    le16(img.width());
    le16(img.height());
    b.append('\0').append(char(2)); // no local table; codes start at 2 bits + 1
    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (n++ % 2 == 0)
                put(4);
            put(img.pixel(x, y) == qRgb(255, 0, 0) ? 0 : 1);
        }
    put(5);
    if (bits)
        data.append(char(acc & 0xFF));
    for (int at = 0; at < data.size(); at += 255) {
        const QByteArray part = data.mid(at, 255);
        b.append(char(part.size())).append(part);
    }
    b.append('\0').append(';');
    return b;
}

struct Case {
    const char *name;
    QByteArray bytes;
};

std::vector<Case> samples()
{
    const QImage img = sample();
    return {{"a.tif", encode(img, "tiff")}, {"a.png", encode(img, "png")}, {"a.jpg", encode(img, "jpeg")},
            {"a.ppm", encode(img, "ppm")},  {"a.pgm", encode(img.convertToFormat(QImage::Format_Grayscale8), "pgm")},
            {"a.pbm", encode(blackWhite(), "pbm")},
            {"a.gif", gif(img)},
            {"a.tga", tga(img)},            {"a.pcx", pcx(img)}};
}

class RealPluginTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        vxtest::GuiTest::SetUp();
        setPluginFolder({}); // the linker's search: the plug-ins beside the program
        box().Move(0, 0, 1500, 1200);
    }
    CanvasBox &box() { return instance<Host>().Picture1; }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(RealPluginTest, EveryBuiltFormatDecodesToItsPicture)
{
    const qint64 live = LocalLiveBlocks();
    for (const Case &c : samples()) {
        const QString name = QString::fromLatin1(c.name);
        EXPECT_EQ(LoadPictureViaPlugin(write(name, c.bytes), box(), 0), 0) << c.name;
        const QImage img = box().Image();
        ASSERT_EQ(img.size(), QSize(16, 8)) << c.name;
        const bool gray = name.endsWith(QLatin1String("pgm")) || name.endsWith(QLatin1String("pbm"));
        const QRgb left = img.pixel(2, 4), right = img.pixel(13, 4);
        if (gray) {
            EXPECT_NE(left, right) << c.name;
        } else {
            EXPECT_GT(qRed(left), 200) << c.name;
            EXPECT_LT(qBlue(left), 60) << c.name;
            EXPECT_GT(qBlue(right), 200) << c.name;
            EXPECT_LT(qRed(right), 60) << c.name;
        }
        EXPECT_EQ(box().pxWidth(), 100);
    }
    EXPECT_EQ(LocalLiveBlocks(), live);
}

TEST_F(RealPluginTest, InformationOfTiffGifAndJpeg)
{
    for (const Case &c : samples()) {
        const QString name = QString::fromLatin1(c.name);
        const PluginPictureInfo info = GetPluginPictureInfo(write(name, c.bytes));
        const bool offered = name.endsWith(QLatin1String("tif")) || name.endsWith(QLatin1String("gif")) ||
            name.endsWith(QLatin1String("jpg"));
        EXPECT_EQ(info.code, offered ? 0 : kNoPlugin) << c.name;
        EXPECT_EQ(info.width, offered ? 16 : 0) << c.name;
        EXPECT_EQ(info.height, offered ? 8 : 0) << c.name;
    }
}

TEST_F(RealPluginTest, WrongTruncatedAndUnreadableFilesGiveCodesNotCrashes)
{
    const qint64 live = LocalLiveBlocks();
    // The plug-in's own code, and null handles, for what it cannot decode.
    auto pluginCode = [](const QString &path) {
        const QString plugin = DecodingPlugin(GetUpperExtension(path));
        auto getPicture = reinterpret_cast<SpiGetPicture>(BindPluginEntry(plugin, "GetPicture"));
        SpiHandle info = &info, bits = &bits;
        const int code = getPicture(QFile::encodeName(path).constData(), 0, 0, &info, &bits, nullptr, 0);
        if (code != 0) {
            EXPECT_FALSE(info || bits) << qPrintable(path);
        }
        LocalFree(info);
        LocalFree(bits);
        return code;
    };
    // Another format under the extension: unknown format.
    EXPECT_EQ(pluginCode(write(QStringLiteral("x.jpg"), encode(sample(), "png"))), 2);
    EXPECT_EQ(pluginCode(write(QStringLiteral("x.tif"), "plain text")), 2);
    // A folder and a missing file: read error.
    EXPECT_EQ(pluginCode(dir.path() + QStringLiteral("/sub.png")), 6);
    QDir(dir.path()).mkdir(QStringLiteral("d.gif"));
    EXPECT_EQ(pluginCode(dir.filePath(QStringLiteral("d.gif"))), 6);
    // A tiny file claiming a huge picture is refused before decoding.
    QByteArray huge = tga(sample());
    huge[12] = huge[13] = huge[14] = huge[15] = char(0xFF);
    EXPECT_NE(pluginCode(write(QStringLiteral("h.tga"), huge)), 0);
    // A colour map Qt's reader would read past the end for minutes.
    QByteArray map = tga(sample()).left(18);
    map[1] = 1;
    map[3] = map[4] = map[5] = map[6] = char(0xFF);
    map[7] = char(255);
    EXPECT_EQ(pluginCode(write(QStringLiteral("m.tga"), map)), 3);
    // Through the host the null blocks give 10, and the box stays empty.
    EXPECT_EQ(LoadPictureViaPlugin(write(QStringLiteral("h2.tga"), huge), box(), 0), kLockFailed);
    EXPECT_TRUE(box().Image().isNull());
    for (const Case &c : samples()) {
        const QString name = QStringLiteral("t") + QString::fromLatin1(c.name);
        const int code = pluginCode(write(name, c.bytes.left(c.bytes.size() / 3)));
        EXPECT_TRUE(code == 0 || code == 2 || code == 3 || code == 4) << c.name << " " << code;
    }
    EXPECT_EQ(LocalLiveBlocks(), live);
}

// Random byte changes and cuts of each sample, straight into the plug-in.
TEST_F(RealPluginTest, MutatedFilesNeverCrashAPlugin)
{
    QRandomGenerator rng(20261209);
    const qint64 live = LocalLiveBlocks();
    for (const Case &c : samples()) {
        const QString plugin = DecodingPlugin(GetUpperExtension(QString::fromLatin1(c.name)));
        auto getPicture = reinterpret_cast<SpiGetPicture>(BindPluginEntry(plugin, "GetPicture"));
        ASSERT_TRUE(getPicture) << c.name;
        for (int round = 0; round < 150; ++round) {
            QByteArray b = c.bytes;
            const int changes = 1 + int(rng.bounded(8));
            for (int i = 0; i < changes; ++i)
                b[int(rng.bounded(quint32(b.size())))] = char(rng.bounded(256));
            if (rng.bounded(4) == 0)
                b.truncate(int(rng.bounded(quint32(b.size()))));
            SpiHandle info = nullptr, bits = nullptr;
            const int code = getPicture(b.constData(), int32_t(b.size()), SPI_INPUT_MEMORY, &info, &bits, nullptr, 0);
            if (code == 0) {
                ASSERT_TRUE(info && bits) << c.name;
                (void)ConvertDib(static_cast<unsigned char *>(LocalLock(info)), LocalSize(info),
                                 static_cast<unsigned char *>(LocalLock(bits)), LocalSize(bits), qint64(1) << 30);
            } else {
                EXPECT_TRUE(!info && !bits) << c.name;
            }
            LocalFree(info);
            LocalFree(bits);
        }
    }
    EXPECT_EQ(LocalLiveBlocks(), live);
}

TEST(DibConvertMutation, RandomHeadersNeverReadOutsideTheBlocks)
{
    QRandomGenerator rng(42);
    for (int round = 0; round < 3000; ++round) {
        const size_t infoBytes = 40 + rng.bounded(64u);
        const size_t bitsBytes = rng.bounded(256u);
        std::vector<unsigned char> info(infoBytes), bits(bitsBytes + 1);
        for (auto &b : info)
            b = uchar(rng.bounded(256));
        SpiBitmapInfoHeader h{};
        h.biSize = 40;
        h.biWidth = int32_t(rng.bounded(12)) - 1;
        h.biHeight = int32_t(rng.bounded(12)) - 6;
        h.biPlanes = 1;
        const uint16_t depths[] = {1, 4, 8, 16, 24, 32, 2};
        h.biBitCount = depths[rng.bounded(7)];
        h.biCompression = rng.bounded(4);
        h.biClrUsed = rng.bounded(300);
        std::memcpy(info.data(), &h, 40);
        (void)ConvertDib(info.data(), infoBytes, bits.data(), bitsBytes, 1 << 20);
    }
}
