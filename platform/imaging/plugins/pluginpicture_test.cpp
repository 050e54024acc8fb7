#include "platform/imaging/plugins/dibconvert.h"
#include "platform/imaging/plugins/pluginpicture.h"
#include "platform/imaging/plugins/spiabi.h"
#include "platform/imaging/plugins/spihost.h"
#include "testing/harness.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstring>

using namespace vx;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(9000, 6000); }
    CanvasBox Picture1{this, QStringLiteral("Picture1")};
};

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

class PluginPictureTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        vxtest::GuiTest::SetUp();
        setPluginFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/spi-fixtures"));
        box().Move(0, 0, 1500, 1200); // 100 x 80 pixels
    }
    void TearDown() override
    {
        setPluginFolder({});
        vxtest::GuiTest::TearDown();
    }
    CanvasBox &box() { return instance<Host>().Picture1; }
    QTemporaryDir dir;
};

} // namespace

TEST(UpperExtension, ChoosesByTheLastDotWithinFiveCharacters)
{
    EXPECT_EQ(GetUpperExtension(QStringLiteral("photo.jpeg")), QStringLiteral("JPEG"));
    EXPECT_EQ(GetUpperExtension(QStringLiteral("PHOTO.JPG")), QStringLiteral("JPG"));
    EXPECT_EQ(GetUpperExtension(QStringLiteral("x.p2")), QStringLiteral("P2"));
    EXPECT_EQ(GetUpperExtension(QStringLiteral("x.pi")), QStringLiteral("PI"));
    EXPECT_EQ(GetUpperExtension(QStringLiteral("a.c")), QStringLiteral("a.c"));
    EXPECT_EQ(GetUpperExtension(QStringLiteral("README")), QStringLiteral("EADME"));
    EXPECT_EQ(GetUpperExtension(QStringLiteral("JPEG")), QStringLiteral("JPEG"));
    EXPECT_EQ(DecodingPlugin(QStringLiteral("JPEG")), QStringLiteral("ifjpeg.spi"));
    EXPECT_EQ(DecodingPlugin(QStringLiteral("PCX")), QStringLiteral("ifpng.spi"));
    EXPECT_EQ(DecodingPlugin(QStringLiteral("BMP")), QString());
    EXPECT_EQ(DecodingPlugin(QStringLiteral("jpg")), QString());
    EXPECT_EQ(InfoPlugin(QStringLiteral("PNG")), QString());
    EXPECT_EQ(InfoPlugin(QStringLiteral("Q4")), QStringLiteral("ifxld4.spi"));
}

TEST_F(PluginPictureTest, KnownBitmapIsDrawnOneToOneAndTheBoxKeepsItsSize)
{
    const qint64 live = LocalLiveBlocks();
    const QString path = write(dir, QStringLiteral("a.jpg"), "known");
    EXPECT_EQ(LoadPictureViaPlugin(path, box(), 0), 0);
    EXPECT_EQ(box().pxWidth(), 100);
    EXPECT_EQ(box().pxHeight(), 80);
    EXPECT_TRUE(box().Visible());
    const QImage img = box().Image();
    ASSERT_EQ(img.size(), QSize(3, 2));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(2, 1), qRgb(128, 128, 128));
    EXPECT_EQ(LocalLiveBlocks(), live); // both blocks freed

    // Top-down rows give the same picture; keep-size takes the bitmap's size.
    EXPECT_EQ(LoadPictureViaPlugin(write(dir, QStringLiteral("b.jpg"), "topdown"), box(), 1), 0);
    EXPECT_EQ(box().Image(), img);
    EXPECT_EQ(box().pxWidth(), 3);
    EXPECT_EQ(box().pxHeight(), 2);

    // A plug-in's error code with sound blocks still draws.
    EXPECT_EQ(LoadPictureViaPlugin(write(dir, QStringLiteral("c.jpg"), "error"), box(), 0), 1);
    EXPECT_EQ(box().Image(), img);
    EXPECT_EQ(LocalLiveBlocks(), live);
}

TEST_F(PluginPictureTest, PaletteBitmapTakesItsColoursFromTheTable)
{
    EXPECT_EQ(LoadPictureViaPlugin(write(dir, QStringLiteral("p.jpeg"), "palette"), box(), 0), 0);
    const QImage img = box().Image();
    ASSERT_EQ(img.size(), QSize(2, 2));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));       // top row: 0 1
    EXPECT_EQ(img.pixel(1, 0), qRgb(255, 255, 0));
    EXPECT_EQ(img.pixel(0, 1), qRgb(255, 255, 0));   // bottom row: 1 0
}

TEST_F(PluginPictureTest, BadBlocksAreNotDrawnAndAlwaysFreed)
{
    const qint64 live = LocalLiveBlocks();
    box().setImage(QImage(5, 5, QImage::Format_RGB32));
    EXPECT_EQ(LoadPictureViaPlugin(write(dir, QStringLiteral("n.jpg"), "null"), box(), 0), kLockFailed);
    EXPECT_TRUE(box().Image().isNull());
    EXPECT_EQ(LoadPictureViaPlugin(write(dir, QStringLiteral("s.jpg"), "short"), box(), 0), kNotDrawn);
    EXPECT_TRUE(box().Image().isNull());
    EXPECT_EQ(LoadPictureViaPlugin(write(dir, QStringLiteral("r.jpg"), "rle"), box(), 0), kNotDrawn);
    EXPECT_EQ(box().pxWidth(), 100);
    EXPECT_TRUE(box().Visible());
    EXPECT_EQ(LocalLiveBlocks(), live);
}

TEST_F(PluginPictureTest, MissingPluginFileOrEntryPointEndsWithNineAndRestoresTheBox)
{
    box().setImage(QImage(5, 5, QImage::Format_RGB32));
    // No ifpng.spi in the folder; ifgif.spi lacks GetPicture; BMP has no plug-in.
    for (const char *name : {"x.png", "x.gif", "x.bmp", "README"}) {
        EXPECT_EQ(LoadPictureViaPlugin(write(dir, QString::fromLatin1(name), "known"), box(), 0), kNoPlugin) << name;
        EXPECT_TRUE(box().Image().isNull());
        EXPECT_TRUE(box().Visible());
        EXPECT_EQ(box().pxWidth(), 100);
        EXPECT_EQ(box().pxHeight(), 80);
    }
}

TEST_F(PluginPictureTest, InformationComesOnlyFromPluginsThatOfferIt)
{
    const qint64 live = LocalLiveBlocks();
    PluginPictureInfo info = GetPluginPictureInfo(write(dir, QStringLiteral("a.jpg"), "known"));
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(LocalLiveBlocks(), live); // the text block was freed
    // iftiff.spi of the fixtures has no GetPictureInfo; PNG has no info plug-in.
    for (const char *name : {"a.tif", "a.png", "a.bmp"}) {
        info = GetPluginPictureInfo(write(dir, QString::fromLatin1(name), "known"));
        EXPECT_EQ(info.code, kNoPlugin) << name;
        EXPECT_EQ(info.width, 0);
        EXPECT_EQ(info.height, 0);
    }
}

TEST(DibConvert, RefusesBlocksThatDoNotHoldTheirBitmap)
{
    SpiBitmapInfoHeader h{};
    h.biSize = 40;
    h.biWidth = 2;
    h.biHeight = 2;
    h.biPlanes = 1;
    h.biBitCount = 24;
    unsigned char bits[16] = {};
    auto convert = [&](const SpiBitmapInfoHeader &hd, size_t infoBytes, size_t bitsBytes) {
        unsigned char info[64] = {};
        std::memcpy(info, &hd, 40);
        return ConvertDib(info, infoBytes, bits, bitsBytes, qint64(1) << 30);
    };
    EXPECT_FALSE(convert(h, 40, 16).isNull());
    EXPECT_TRUE(convert(h, 39, 16).isNull());  // header cut short
    EXPECT_TRUE(convert(h, 40, 15).isNull());  // rows cut short
    SpiBitmapInfoHeader bad = h;
    bad.biPlanes = 2;
    EXPECT_TRUE(convert(bad, 40, 16).isNull());
    bad = h;
    bad.biWidth = 0;
    EXPECT_TRUE(convert(bad, 40, 16).isNull());
    bad = h;
    bad.biBitCount = 7;
    EXPECT_TRUE(convert(bad, 40, 16).isNull());
    bad = h;
    bad.biCompression = SPI_BI_RLE8;
    EXPECT_TRUE(convert(bad, 40, 16).isNull());
    bad = h;
    bad.biWidth = 0x7FFFFFFF;
    bad.biHeight = 0x7FFFFFFF; // stride x rows would overflow
    EXPECT_TRUE(convert(bad, 40, 16).isNull());
    bad = h;
    bad.biBitCount = 8; // a table of 256 colours is not in 40 bytes
    EXPECT_TRUE(convert(bad, 64, 16).isNull());
    bad.biClrUsed = 6;
    EXPECT_FALSE(convert(bad, 64, 16).isNull());
    bad.biClrUsed = 7;
    EXPECT_TRUE(convert(bad, 64, 16).isNull());
    // The memory cap.
    unsigned char info[40];
    std::memcpy(info, &h, 40);
    EXPECT_TRUE(ConvertDib(info, 40, bits, 16, 15).isNull());
    EXPECT_FALSE(ConvertDib(info, 40, bits, 16, 16).isNull());
}

TEST(DibConvert, SixteenBitAndMaskedPixels)
{
    unsigned char info[52] = {};
    SpiBitmapInfoHeader h{};
    h.biSize = 40;
    h.biWidth = 1;
    h.biHeight = -1;
    h.biPlanes = 1;
    h.biBitCount = 16;
    std::memcpy(info, &h, 40);
    unsigned char bits[4] = {0x00, 0x7C, 0, 0}; // 555 red
    EXPECT_EQ(ConvertDib(info, 40, bits, 4, 1 << 20).pixel(0, 0), qRgb(255, 0, 0));
    h.biCompression = SPI_BI_BITFIELDS;
    std::memcpy(info, &h, 40);
    const quint32 masks[3] = {0xF800, 0x07E0, 0x001F}; // 565
    std::memcpy(info + 40, masks, 12);
    bits[0] = 0xE0;
    bits[1] = 0x07; // 565 green
    EXPECT_EQ(ConvertDib(info, 52, bits, 4, 1 << 20).pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_TRUE(ConvertDib(info, 40, bits, 4, 1 << 20).isNull()); // masks outside the block
}

// Blocks of every size, small ones and those of a picture's size (mapped on
// their own): asked-for zeroes are zero, the whole length is writable, the
// size reads back, and freeing one frees it once; a handle not ours is refused.
TEST(LocalBlocks, SmallAndPictureSizedBlocksBehaveAlike)
{
    const qint64 live = LocalLiveBlocks();
    for (const size_t bytes : {size_t(1), size_t(4096), (size_t(4) << 20) - 40, size_t(12000017), size_t(36) << 20}) {
        SpiHandle h = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bytes);
        ASSERT_TRUE(h) << bytes;
        EXPECT_EQ(LocalSize(h), bytes);
        auto *p = static_cast<unsigned char *>(LocalLock(h));
        ASSERT_TRUE(p);
        size_t nonzero = 0;
        for (size_t i = 0; i < bytes; i += 509)
            nonzero += p[i] != 0;
        EXPECT_EQ(nonzero + p[bytes - 1], 0u) << bytes;
        std::memset(p, 0xA5, bytes);
        EXPECT_EQ(LocalUnlock(h), 0);
        EXPECT_EQ(LocalLiveBlocks(), live + 1);
        EXPECT_EQ(LocalFree(h), nullptr);
        EXPECT_EQ(LocalLiveBlocks(), live);
    }
    int notOurs[16] = {};
    EXPECT_EQ(LocalFree(notOurs), static_cast<SpiHandle>(notOurs));
    EXPECT_EQ(LocalSize(notOurs), 0u);
}
