#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "platform/imaging/pictureclaim.h"
#include "testing/harness.h"
#include "testing/errors.h"
#include "testing/files.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QThread>

#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using vxtest::errorOf;

using namespace vx;

namespace {

using vxtest::writeBytes;

// The process's memory from /proc/self/status, in MB.
double statusMb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Starts the peak (VmHWM) again from what the process holds now.
bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void putBe16(QByteArray &b, qsizetype at, int v)
{
    b[at] = char((v >> 8) & 0xFF);
    b[at + 1] = char(v & 0xFF);
}

void putLe(QByteArray &b, qsizetype at, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

quint32 crc32(const QByteArray &data)
{
    quint32 c = 0xFFFFFFFFu;
    for (char ch : data) {
        c ^= uchar(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// Small files whose headers claim side x side pixels.
QByteArray jpegClaiming(int side)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QByteArray b = encoded(img, "jpg");
    const qsizetype sof = b.indexOf("\xFF\xC0");
    putBe16(b, sof + 5, side);
    putBe16(b, sof + 7, side);
    return b;
}

QByteArray pngClaiming(int side)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QByteArray b = encoded(img, "png");
    // IHDR data at 16..29, its CRC over type and data at 29.
    QByteArray be(4, 0);
    for (int at : {16, 20})
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((quint32(side) >> (24 - 8 * i)) & 0xFF);
    const quint32 crc = crc32(b.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        b[29 + i] = char((crc >> (24 - 8 * i)) & 0xFF);
    return b;
}

QByteArray gifClaiming(int side)
{
    QByteArray b("GIF89a");
    b += QByteArray(7, 0);
    putLe(b, 6, quint32(side), 2);
    putLe(b, 8, quint32(side), 2);
    b[10] = char(0x80); // a two-colour table
    b += QByteArray("\0\0\0\xFF\xFF\xFF", 6);
    QByteArray desc(10, 0);
    desc[0] = 0x2C;
    putLe(desc, 5, 1, 2);
    putLe(desc, 7, 1, 2);
    b += desc;
    b += QByteArray("\x02\x02\x44\x01\x00\x3B", 6);
    return b;
}

QByteArray bmpClaiming(int side)
{
    QByteArray b(54 + 64, 0);
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 2, quint32(b.size()), 4);
    putLe(b, 10, 54, 4);
    putLe(b, 14, 40, 4);
    putLe(b, 18, quint32(side), 4);
    putLe(b, 22, quint32(side), 4);
    putLe(b, 26, 1, 2);
    putLe(b, 28, 24, 2);
    return b;
}

QByteArray icoClaiming(int side)
{
    // One entry holding a PNG that claims the size.
    const QByteArray png = pngClaiming(side);
    QByteArray b(6 + 16, 0);
    putLe(b, 2, 1, 2);
    putLe(b, 4, 1, 2);
    putLe(b, 6 + 6, 1, 2);
    putLe(b, 6 + 6 + 2, 32, 2);
    putLe(b, 6 + 8, quint32(png.size()), 4);
    putLe(b, 6 + 12, 22, 4);
    return b + png;
}

class PictureClaimTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + QLatin1Char('/');
    }
    void TearDown() override
    {
        setPictureMemoryCap(0);
        setPictureDecodeHook({});
        ReleaseSparePictureMemory();
        GuiTest::TearDown();
    }
    QTemporaryDir tmp;
    QString dir;
};

TEST_F(PictureClaimTest, SmallFilesClaimingHugePicturesAreRefusedBeforeTheirMemoryIsTaken)
{
    // 8000 x 8000 is 256 MB decoded: under the limit, so only the claim
    // against the file's bytes refuses it.
    const struct {
        const char *name;
        QByteArray bytes;
    } bombs[] = {{"bomb.jpg", jpegClaiming(8000)}, {"bomb.png", pngClaiming(8000)}, {"bomb.gif", gifClaiming(8000)},
                 {"bomb.bmp", bmpClaiming(8000)},  {"bomb.ico", icoClaiming(8000)}};
    for (const auto &bomb : bombs) {
        const QString path = dir + QLatin1String(bomb.name);
        writeBytes(path, bomb.bytes);
        ASSERT_LT(bomb.bytes.size(), 2000);
        ASSERT_TRUE(resetPeak());
        const double before = statusMb("VmRSS:");
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(errorOf([&] { LoadPicture(path); }), err::InvalidPicture) << bomb.name;
        EXPECT_LT(t.elapsed(), 1000) << bomb.name;
        // Far above the noise (and what the sanitizers add), far below 256 MB.
        EXPECT_LT(statusMb("VmHWM:") - before, 64.0) << bomb.name;
    }

    // A small picture whose last chunk claims 2 GB of text.
    QImage small(8, 8, QImage::Format_Grayscale8);
    small.fill(Qt::gray);
    QByteArray text = encoded(small, "png");
    text.chop(12); // IEND
    text += QByteArray::fromHex("7fffffff") + "tEXt";
    writeBytes(dir + "text.png", text);
    ASSERT_TRUE(resetPeak());
    const double before = statusMb("VmRSS:");
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "text.png"); }), err::InvalidPicture);
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_LT(statusMb("VmHWM:") - before, 64.0);

    // The same headers with enough bytes behind them are pictures that load.
    QImage real(120, 80, QImage::Format_RGB32);
    real.fill(Qt::darkCyan);
    for (const char *format : {"jpg", "png", "bmp", "ico"}) {
        const QString path = dir + QStringLiteral("real.") + QLatin1String(format);
        writeBytes(path, encoded(real, format));
        EXPECT_EQ(LoadPicture(path).image.size(), QSize(120, 80)) << format;
    }
    // A canvas a one-pixel frame may plausibly stand on (Qt writes no GIF).
    writeBytes(dir + "real.gif", gifClaiming(200));
    EXPECT_EQ(LoadPicture(dir + "real.gif").image.size(), QSize(200, 200));
}

TEST_F(PictureClaimTest, ClaimsAreReadFromEachFormatsHeader)
{
    struct Case {
        QByteArray bytes;
        const char *format;
        QSize size;
        bool plausible;
    };
    QImage img(70, 30, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    const Case cases[] = {
        {encoded(img, "jpg"), "jpeg", {70, 30}, true}, {encoded(img, "png"), "png", {70, 30}, true},
        {gifClaiming(200), "gif", {200, 200}, true},  {encoded(img, "bmp"), "bmp", {70, 30}, true},
        {encoded(img, "ico"), "ico", {70, 30}, true},  {jpegClaiming(30000), "jpeg", {30000, 30000}, false},
        {gifClaiming(20000), "gif", {20000, 20000}, false}, {bmpClaiming(5000), "bmp", {5000, 5000}, false},
        {bmpClaiming(2), "bmp", {2, 2}, true},
    };
    for (const Case &c : cases) {
        QByteArray bytes = c.bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        buffer.seek(3);
        const PictureClaim claim = ReadPictureClaim(buffer, QLatin1String(c.format));
        EXPECT_EQ(claim.size, c.size) << c.format;
        EXPECT_EQ(claim.plausible, c.plausible) << c.format << " " << c.size.width();
        EXPECT_EQ(buffer.pos(), 3) << "the reader's position is kept";
    }
}

TEST_F(PictureClaimTest, PicturesAboveTheLimitAreRefusedAlsoIntoReusedMemory)
{
    EXPECT_EQ(PictureBytes(QSize(10, 10), QImage::Format_RGB32), 400);
    EXPECT_EQ(PictureBytes(QSize(10, 10), QImage::Format_Grayscale8), 500) << "with its 32-bit copy";
    EXPECT_EQ(PictureBytes(QSize(10, 10), QImage::Format_RGBA64), 1200);
    EXPECT_LE(PictureMemoryLimit(), qint64(2) << 30);
    EXPECT_GT(PictureMemoryLimit(), qint64(64) << 20);

    // 2400 x 2000 at 4 bytes a pixel: 18.3 MB, large enough to use kept memory.
    QImage big(2400, 2000, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(dir + "big.jpg"));
    ASSERT_TRUE(big.save(dir + "big2.jpg"));
    big = QImage();
    {
        const Picture first = LoadPicture(dir + "big.jpg");
        ASSERT_EQ(first.image.size(), QSize(2400, 2000));
    }
    ASSERT_GT(SparePictureMemory(), 0) << "memory of that size is kept for the next one";

    setPictureMemoryCap(qint64(16) << 20);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "big2.jpg"); }), err::OutOfMemory);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "big.jpg"); }), err::OutOfMemory);
    setPictureMemoryCap(qint64(20) << 20);
    EXPECT_EQ(LoadPicture(dir + "big2.jpg").image.size(), QSize(2400, 2000));

    // Small pictures decode into fresh memory, checked the same way.
    QImage small(600, 600, QImage::Format_RGB32);
    small.fill(Qt::blue);
    ASSERT_TRUE(small.save(dir + "small.png"));
    setPictureMemoryCap(qint64(1) << 20);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "small.png"); }), err::OutOfMemory);
    setPictureMemoryCap(0);
    EXPECT_EQ(LoadPicture(dir + "small.png").image.size(), QSize(600, 600));
}

TEST_F(PictureClaimTest, AFifoOrDeviceNamedAsAPictureFailsAtOnce)
{
    const QString fifo = dir + "x.jpg";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto load = std::async(std::launch::async, [&] { return errorOf([&] { LoadPicture(fifo); }); });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the loader waits for a writer";
        // Let the blocked open and read end.
        const int w = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
        ::close(w);
    }
    EXPECT_EQ(load.get(), err::InvalidPicture);

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir + "zero.bmp"));
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "zero.bmp"); }), err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir); }), err::PathFileAccess);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "none.jpg"); }), err::FileNotFound);
}

TEST_F(PictureClaimTest, ALargeDecodeShowsTheBusyPointerAndASmallOneDoesNot)
{
    std::vector<int> shapes;
    setPictureDecodeHook([&] {
        const QCursor *c = QGuiApplication::overrideCursor();
        shapes.push_back(c ? int(c->shape()) : -1);
    });
    QImage img(2000, 1000, QImage::Format_RGB32);
    img.fill(Qt::green);
    ASSERT_TRUE(img.save(dir + "large.jpg"));
    ASSERT_TRUE(img.copy(0, 0, 200, 100).save(dir + "small.jpg"));
    LoadPicture(dir + "large.jpg");
    LoadPicture(dir + "small.jpg");
    EXPECT_EQ(shapes, (std::vector<int>{Qt::WaitCursor, -1}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the pointer comes back";
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "none.jpg"); }), err::FileNotFound);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PictureClaimTest, SpareMemoryGoesWhenReleasedAndAfterAnIdleSecond)
{
    QImage img(2100, 2100, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(dir + "a.jpg"));
    img = QImage();
    LoadPicture(dir + "a.jpg");
    EXPECT_GT(SparePictureMemory(), qint64(16) << 20);
    ReleaseSparePictureMemory();
    EXPECT_EQ(SparePictureMemory(), 0);

    LoadPicture(dir + "a.jpg");
    ASSERT_GT(SparePictureMemory(), 0);
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(vxtest::waitUntil([] { return SparePictureMemory() == 0; }));
    EXPECT_GT(t.elapsed(), 700) << "kept a moment for the next picture";
}

TEST_F(PictureClaimTest, APictureKnowsTheFileItCameFrom)
{
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(dir + "a.bmp"));
    ASSERT_TRUE(img.save(dir + "b.bmp"));
    const Picture a = LoadPicture(dir + "a.bmp");
    EXPECT_TRUE(IsPictureOf(a, dir + "a.bmp"));
    EXPECT_FALSE(IsPictureOf(a, dir + "b.bmp"));
    EXPECT_FALSE(IsPictureOf(Picture{}, dir + "a.bmp"));
    img.fill(Qt::blue);
    ASSERT_TRUE(img.scaled(30, 10).save(dir + "a.bmp"));
    EXPECT_FALSE(IsPictureOf(a, dir + "a.bmp")) << "changed since";
}

} // namespace
