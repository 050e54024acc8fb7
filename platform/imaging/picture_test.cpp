#include "platform/core/errors.h"
#include "platform/core/sidename.h"
#include "platform/imaging/imagebox.h"
#include "platform/imaging/picture.h"
#include "platform/forms/form.h"
#include "testing/harness.h"
#include "testing/errors.h"
#include "testing/files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinterInfo>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>

using vxtest::errorOf;

using namespace vx;

namespace {

using vxtest::readBytes;
using vxtest::writeBytes;

// Left half red, right half blue.
Picture twoColours(int w, int h, const QString &format = QStringLiteral("bmp"))
{
    Picture p;
    p.image = QImage(w, h, QImage::Format_RGB32);
    p.image.fill(Qt::red);
    QPainter(&p.image).fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    p.format = format;
    return p;
}

class PictureTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + QLatin1Char('/');
    }
    void TearDown() override
    {
        setPrintToFile(QString());
        GuiTest::TearDown();
    }
    QTemporaryDir tmp;
    QString dir;
};

TEST_F(PictureTest, FormatIsTakenFromTheContentNotTheName)
{
    vxtest::writeTestImage(dir + "a.bmp", 8, 6);
    QFile::copy(dir + "a.bmp", dir + "a.dib");
    vxtest::writeTestImage(dir + "b.jpg", 9, 7, Qt::blue);
    QFile::copy(dir + "b.jpg", dir + "b.jpe");
    QFile::copy(dir + "b.jpg", dir + "renamed.bmp");
    vxtest::writeTestImage(dir + "c.ico", 16, 16, Qt::green);
    // A cursor file is an icon file whose directory says type 2.
    QByteArray cur = readBytes(dir + "c.ico");
    ASSERT_GE(cur.size(), 4);
    cur[2] = 2;
    writeBytes(dir + "c.cur", cur);
    writeBytes(dir + "d.gif", QByteArray::fromHex("47494638396101000100f00000ff0000000000"
                                                  "21f90400000000002c00000000010001000002024401003b"));

    const struct {
        const char *name;
        const char *format;
        QSize size;
    } cases[] = {{"a.bmp", "bmp", {8, 6}},   {"a.dib", "bmp", {8, 6}},   {"b.jpg", "jpeg", {9, 7}},
                 {"b.jpe", "jpeg", {9, 7}},  {"renamed.bmp", "jpeg", {9, 7}}, {"c.ico", "ico", {16, 16}},
                 {"c.cur", "cur", {16, 16}}, {"d.gif", "gif", {1, 1}}};
    for (const auto &c : cases) {
        const Picture p = LoadPicture(dir + c.name);
        EXPECT_EQ(p.image.size(), c.size) << c.name;
        EXPECT_EQ(p.format, QLatin1String(c.format)) << c.name;
    }
    EXPECT_EQ(LoadPicture(dir + "d.gif").image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(LoadPicture(dir + "a.bmp").widthTwips(), 120.0);
    EXPECT_TRUE(LoadPicture(QString()).isNull());
}

TEST_F(PictureTest, LoadErrorsTellMissingFromUndecodable)
{
    vxtest::writeTestImage(dir + "big.jpg", 400, 300);
    const QByteArray jpeg = readBytes(dir + "big.jpg");
    writeBytes(dir + "header.jpg", jpeg.left(200));
    writeBytes(dir + "half.jpg", jpeg.left(jpeg.size() / 2));
    writeBytes(dir + "noise.jpg", QByteArray(4000, '\x5a'));
    writeBytes(dir + "empty.bmp", QByteArray());
    writeBytes(dir + "zeros.bmp", QByteArray(4000, '\0'));
    // Damaged bytes that the wireless-bitmap plug-in would take for an 8 x 8 picture.
    writeBytes(dir + "damaged.jpg", QByteArray::fromHex("00000808") + QByteArray(8, '\0'));
    // A placeable metafile header: no decoder on this system.
    writeBytes(dir + "drawing.wmf", QByteArray::fromHex("d7cdc69a0000") + QByteArray(100, '\0'));
    ASSERT_TRUE(QDir(dir).mkdir("folder.bmp"));

    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "missing.jpg"); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "nodir/x.jpg"); }), err::PathNotFound);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "folder.bmp"); }), err::PathFileAccess);
    // Neither waits on a pipe nor reads a device without end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "pipe.jpg").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir + "zero.bmp"));
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "pipe.jpg"); }), err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { LoadPicture(dir + "zero.bmp"); }), err::InvalidPicture);
    for (const char *bad : {"header.jpg", "noise.jpg", "empty.bmp", "zeros.bmp", "damaged.jpg", "drawing.wmf"})
        EXPECT_EQ(errorOf([&] { LoadPicture(dir + bad); }), err::InvalidPicture) << bad;
    // A JPEG cut after its first scan lines still shows what arrived.
    EXPECT_EQ(LoadPicture(dir + "half.jpg").image.size(), QSize(400, 300));
}

TEST_F(PictureTest, SaveWritesBitmapsAndKeepsIcons)
{
    SavePicture(twoColours(20, 10, QStringLiteral("jpeg")), dir + "out.bmp");
    EXPECT_TRUE(readBytes(dir + "out.bmp").startsWith("BM"));
    const Picture back = LoadPicture(dir + "out.bmp");
    EXPECT_EQ(back.format, QStringLiteral("bmp"));
    EXPECT_EQ(back.image.size(), QSize(20, 10));
    EXPECT_EQ(back.image.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(back.image.pixelColor(17, 8), QColor(Qt::blue));

    SavePicture(twoColours(16, 16, QStringLiteral("cur")), dir + "out.bmp");
    EXPECT_TRUE(readBytes(dir + "out.bmp").startsWith(QByteArray::fromHex("00000100"))) << "icon format kept";
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"out.bmp"}) << "no temporary file left";

    EXPECT_EQ(errorOf([&] { SavePicture(Picture(), dir + "none.bmp"); }), err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { SavePicture(twoColours(4, 4), dir + "nodir/x.bmp"); }), err::PathNotFound);
    ASSERT_TRUE(QDir(dir).mkdir("sub"));
    EXPECT_EQ(errorOf([&] { SavePicture(twoColours(4, 4), dir + "sub"); }), err::PathFileAccess);
    EXPECT_FALSE(QFile::exists(dir + "none.bmp"));
    // A FIFO, or a link to one, stays what it is: the bitmap never replaces it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "pipe.bmp").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir + "pipe.bmp", dir + "link.bmp"));
    EXPECT_EQ(errorOf([&] { SavePicture(twoColours(4, 4), dir + "pipe.bmp"); }), err::PathFileAccess);
    EXPECT_EQ(errorOf([&] { SavePicture(twoColours(4, 4), dir + "link.bmp"); }), err::PathFileAccess);
    EXPECT_FALSE(QFileInfo(dir + "pipe.bmp").isFile());
}

TEST_F(PictureTest, FailedSaveLeavesTheExistingFileIntact)
{
    const QString target = dir + "keep.bmp";
    writeBytes(target, QByteArray("the user's picture"));
    // The disk "fills" after 64 KB: the 480 KB bitmap cannot be completed.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int error = errorOf([&] { SavePicture(twoColours(400, 400), target); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(error, err::DiskFull) << "the system's reason, not an invalid path";
    EXPECT_EQ(readBytes(target), QByteArray("the user's picture"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"keep.bmp"}) << "the partial file is removed";
}

TEST_F(PictureTest, SaveTakesAFullLengthNameKeepsModesAndLinksAndClearsLeftovers)
{
    // 83 three-byte characters and ".bmp": 253 bytes, a valid name with no
    // room for anything added to it.
    const QString name = QString(83, QChar(0x3042)) + QStringLiteral(".bmp");
    const QString target = dir + name;
    writeBytes(target, QByteArray("old"));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    // What a save cut short left beside it.
    const QByteArray encoded = QFile::encodeName(name);
    const QString leftover =
        dir + QFile::decodeName(QByteArray::fromStdString(
                  vx::sidename::prefix(std::string_view(encoded.constData(), encoded.size()), "vxtmp-", 6) + "Ab12Cd"));
    writeBytes(leftover, QByteArray("half a picture"));
    const struct timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(leftover).constData(), hourAgo), 0);
    // One another save is writing (it holds a lock on it) is left alone.
    const QString held = leftover.chopped(6) + QStringLiteral("Ef34Gh");
    writeBytes(held, QByteArray("being written"));
    const int holder = ::open(QFile::encodeName(held).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    SavePicture(twoColours(20, 10), target);
    ::close(holder);
    EXPECT_EQ(LoadPicture(target).image.size(), QSize(20, 10));
    EXPECT_EQ(QFileInfo(target).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup)
        << "the old file's permissions";
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), (QStringList{held.mid(dir.size()), name}))
        << "no temporary file of ours left";

    // A new file gets the permissions every new file gets; a link stays a
    // link to the file it names, which takes the picture.
    const mode_t mask = ::umask(022);
    SavePicture(twoColours(4, 4), dir + "new.bmp");
    ::umask(mask);
    EXPECT_EQ(QFileInfo(dir + "new.bmp").permissions() & 0x0FFF,
              QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(QFile::link(dir + "new.bmp", dir + "link.bmp"));
    SavePicture(twoColours(6, 6), dir + "link.bmp");
    EXPECT_TRUE(QFileInfo(dir + "link.bmp").isSymLink());
    EXPECT_EQ(LoadPicture(dir + "new.bmp").image.size(), QSize(6, 6));
}

TEST_F(PictureTest, ClipboardRoundTrip)
{
    ASSERT_TRUE(CopyPictureToClipboard(twoColours(30, 12)));
    const Picture got = ClipboardPicture();
    EXPECT_EQ(got.image.size(), QSize(30, 12));
    EXPECT_EQ(got.image.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(got.image.pixelColor(29, 11), QColor(Qt::blue));
    EXPECT_FALSE(CopyPictureToClipboard(Picture()));
    EXPECT_EQ(ClipboardPicture().image.size(), QSize(30, 12)) << "an empty picture leaves the clipboard alone";
}

TEST_F(PictureTest, PrintsToPdfAndReportsWhatIsMissing)
{
    const QString pdf = dir + "job.pdf";
    setPrintToFile(pdf);
    EXPECT_FALSE(PrintPicture(Picture()).isEmpty());
    EXPECT_FALSE(QFile::exists(pdf)) << "no job without a picture";

    EXPECT_EQ(PrintPicture(twoColours(40, 30)), QString());
    const QByteArray bytes = readBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Width 40") && bytes.contains("/Height 30")) << "the picture's own pixels are sent";

    setPrintToFile(QString());
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer";
    EXPECT_EQ(PrintPicture(twoColours(4, 4)), QStringLiteral("プリンタが見つかりません。"));
}

TEST_F(PictureTest, ScreenGrabCopiesTheAreaAndBlackOutsideScreens)
{
    QWidget w;
    w.setWindowFlag(Qt::FramelessWindowHint);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, Qt::green);
    w.setPalette(pal);
    w.setAutoFillBackground(true);
    w.setGeometry(0, 100, 200, 150);
    w.show();
    QApplication::processEvents();
    w.repaint();

    QImage inside = GrabScreenArea(QRect(50, 150, 20, 10));
    ASSERT_EQ(inside.size(), QSize(20, 10));
    EXPECT_EQ(inside.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(inside.pixelColor(19, 9), QColor(Qt::green));

    QImage edge = GrabScreenArea(QRect(-10, 120, 30, 5));
    ASSERT_EQ(edge.size(), QSize(30, 5));
    EXPECT_EQ(edge.pixelColor(9, 2), QColor(Qt::black)) << "left of every screen";
    EXPECT_EQ(edge.pixelColor(10, 2), QColor(Qt::green));

    QImage away = GrabScreenArea(QRect(-5000, -5000, 8, 8));
    ASSERT_EQ(away.size(), QSize(8, 8));
    EXPECT_EQ(away.pixelColor(4, 4), QColor(Qt::black));
}

TEST_F(PictureTest, PicturesAboveQtsDefaultAllocationLimitLoad)
{
    // 6000 x 6000 at 4 bytes a pixel is 144 MB, above Qt's default limit of 128 MB.
    QImage big(6000, 6000, QImage::Format_RGB32);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save(dir + "big.png"));
    big = QImage();
    const Picture p = LoadPicture(dir + "big.png");
    EXPECT_EQ(p.image.size(), QSize(6000, 6000));
    EXPECT_EQ(p.format, QStringLiteral("png"));
}

} // namespace

TEST_F(PictureTest, LargePicturesReuseMemoryButNeverOneStillHeld)
{
    // 2100 x 2100 at 32 bits is above the size whose memory is kept for reuse.
    QImage red(2100, 2100, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir + "red.jpg"));
    QImage blue(2100, 2100, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(dir + "blue.jpg"));

    Picture first = LoadPicture(dir + "red.jpg");
    const uchar *firstBits = first.image.constBits();
    Picture second = LoadPicture(dir + "blue.jpg");
    EXPECT_NE(second.image.constBits(), firstBits) << "a picture still shown keeps its memory";
    EXPECT_EQ(first.image.pixelColor(1000, 1000).red(), 254) << "first picture untouched";
    EXPECT_LT(second.image.pixelColor(1000, 1000).red(), 10);

    first = Picture();
    const Picture third = LoadPicture(dir + "red.jpg");
    EXPECT_EQ(third.image.constBits(), firstBits) << "memory of the picture let go is reused";
    EXPECT_GT(third.image.pixelColor(5, 5).red(), 240);
    EXPECT_LT(second.image.pixelColor(5, 5).red(), 10) << "the other picture still untouched";
}

namespace {

// Smooth colour areas with grain, like a photo: every decoding step matters.
QImage photo(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + (x * y) % 7) & 255, (y * 255 / h + (x ^ y) % 5) & 255, ((x + y) / 9) & 255);
    }
    return img;
}

class BoxHolder : public Form {
public:
    BoxHolder() : Form(QStringLiteral("BoxHolder")) { setClientSize(9540, 7785); }
    ImageBox Image1{this, QStringLiteral("Image1")};
};

} // namespace

// A large photo shown in a box decodes while the window paints; what the box
// then hands out, and what it paints, is the picture Qt's reader gives,
// whole or cut short.
TEST_F(PictureTest, ALargePhotoShownWhileItDecodesIsTheSamePicture)
{
    ASSERT_TRUE(photo(1800, 1300).save(dir + "photo.jpg", "JPEG", 90));
    const QByteArray bytes = readBytes(dir + "photo.jpg");
    writeBytes(dir + "cut.jpg", bytes.left(bytes.size() / 2));
    BoxHolder &holder = instance<BoxHolder>();
    for (const char *name : {"photo.jpg", "cut.jpg"}) {
        const Picture whole = LoadPicture(dir + name);
        ASSERT_EQ(whole.image.size(), QSize(1800, 1300)) << name;
        holder.Image1.setPicture(LoadPictureWhileShown(dir + name));
        EXPECT_EQ(holder.Image1.Width(), 1800 * 15) << "the box takes the natural size at once";
        const QImage shown = holder.Image1.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, whole.image.copy(0, 0, shown.width(), shown.height())) << name;
        const Picture held = holder.Image1.Picture();
        EXPECT_EQ(held.image, whole.image) << name;
        EXPECT_EQ(held.format, QStringLiteral("jpeg"));
        EXPECT_TRUE(IsPictureOf(held, dir + name));
    }
    // Let go while it decodes: the next picture shows, nothing is left waiting.
    holder.Image1.setPicture(LoadPictureWhileShown(dir + "photo.jpg"));
    holder.Image1.setPicture(LoadPicture(dir + "cut.jpg"));
    EXPECT_EQ(holder.Image1.Picture().image, LoadPicture(dir + "cut.jpg").image);
}
