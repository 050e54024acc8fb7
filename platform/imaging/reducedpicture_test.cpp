#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "platform/imaging/pictureclaim.h"
#include "platform/imaging/reducedpicture.h"
#include "testing/errors.h"
#include "testing/harness.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vx;

using vxtest::errorOf;

namespace {

QSize thumb(QSize natural) { return natural.scaled(97, 97, Qt::KeepAspectRatio); }

class ReducedPictureTest : public vxtest::GuiTest {
protected:
    void TearDown() override
    {
        setPictureMemoryCap(0);
        GuiTest::TearDown();
    }
    QString file(const char *name) const { return QDir(tmp.path()).filePath(QLatin1String(name)); }
    QTemporaryDir tmp;
};

TEST_F(ReducedPictureTest, JpegIsReducedWhileItDecodesNeverWhole)
{
    QImage img(2000, 1500, QImage::Format_RGB32);
    img.fill(QColor(200, 40, 40));
    ASSERT_TRUE(img.save(file("photo.jpg"), "JPEG", 90));
    // Too little memory for the whole picture (12 MB), plenty for an eighth.
    setPictureMemoryCap(qint64(2) << 20);
    EXPECT_EQ(errorOf([&] { LoadPicture(file("photo.jpg")); }), err::OutOfMemory);
    const ReducedPicture r = LoadReducedPicture(file("photo.jpg"), thumb);
    EXPECT_EQ(r.natural, QSize(2000, 1500));
    EXPECT_EQ(r.image.size(), QSize(97, 72));
    EXPECT_NEAR(QColor(r.image.pixel(48, 36)).red(), 200, 8);

    // A format read whole first still has to fit.
    vxtest::writeTestImage(file("large.bmp"), 1000, 1000);
    EXPECT_EQ(errorOf([&] { LoadReducedPicture(file("large.bmp"), thumb); }), err::OutOfMemory);
}

TEST_F(ReducedPictureTest, SameChecksAsAFullReadComeFirst)
{
    // A few bytes claiming 60000 x 60000 pixels.
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    ASSERT_TRUE(small.save(&buf, "JPEG"));
    const qsizetype sof = b.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    for (int at : {5, 7}) {
        b[sof + at] = char(60000 >> 8);
        b[sof + at + 1] = char(60000 & 0xFF);
    }
    QFile f(file("claims.jpg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
    f.close();
    EXPECT_EQ(errorOf([&] { LoadReducedPicture(file("claims.jpg"), thumb); }), err::InvalidPicture);

    QFile t(file("text.jpg"));
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("not a picture");
    t.close();
    EXPECT_EQ(errorOf([&] { LoadReducedPicture(file("text.jpg"), thumb); }), err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { LoadReducedPicture(file("missing.jpg"), thumb); }), err::FileNotFound);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("pipe.jpg")).constData(), 0600), 0);
    EXPECT_EQ(errorOf([&] { LoadReducedPicture(file("pipe.jpg"), thumb); }), err::InvalidPicture)
        << "never waits on a pipe";

    vxtest::writeTestImage(file("thin.bmp"), 400, 1);
    EXPECT_EQ(errorOf([&] { LoadReducedPicture(file("thin.bmp"), [](QSize) { return QSize(97, 0); }); }),
              err::InvalidPicture) << "a box with no height";
}

} // namespace
