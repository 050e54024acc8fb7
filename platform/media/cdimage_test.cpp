// The real device layer: CUE/BIN images the tests write, played to the null
// sink in real time; the drive path where there is no drive; the door ioctls
// on a plain file.
#include "cdaudio.h"
#include "cdimages_test.h"
#include "mci.h"

#include "testing/mediacommands.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vx;

namespace {

class CdImageTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        saved_ = qgetenv(cd::kDeviceVariable);
        setMediaCommandDriver(makeMediaCommandInterpreter());
    }
    void TearDown() override
    {
        setMediaCommandDriver(nullptr);
        if (saved_.isNull())
            qunsetenv(cd::kDeviceVariable);
        else
            qputenv(cd::kDeviceVariable, saved_);
        GuiTest::TearDown();
    }
    QString path(const char *name) const { return dir_.filePath(QLatin1String(name)); }
    // Points the device at `cue` and opens it.
    static int openAt(const QString &cue)
    {
        qputenv(cd::kDeviceVariable, QFile::encodeName(cue));
        return mciSendString(QStringLiteral("open cdaudio alias cd wait shareable"));
    }
    static QString ask(const char *command) { return vxtest::mciAsk(QString::fromUtf8(command)); }
    static int send(const char *command) { return mciSendString(QString::fromUtf8(command)); }

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

TEST_F(CdImageTest, ThreeTrackImageReadsPlaysPausesSeeksAndSkips)
{
    // 1 s, 2 s and 1.5 s.
    ASSERT_TRUE(cdtest::writeImage(path("three.cue"), {{75}, {150}, {112}}));
    ASSERT_EQ(openAt(path("three.cue")), 0);
    ASSERT_EQ(send("set cd time format tmsf wait"), 0);
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("true"));
    EXPECT_EQ(ask("status cd number of tracks wait"), QStringLiteral("3"));
    EXPECT_EQ(ask("status cd length wait"), QStringLiteral("00:04:37"));
    EXPECT_EQ(ask("status cd length track 2"), QStringLiteral("00:02:00"));
    EXPECT_EQ(ask("status cd length track 3"), QStringLiteral("00:01:37"));
    ASSERT_EQ(send("seek cd to 2"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:00:00"));

    ASSERT_EQ(send("play cd"), 0);
    ASSERT_TRUE(vxtest::waitUntil([] { return ask("status cd position").mid(9).toInt() >= 20; }))
        << "the position moves while playing";
    ASSERT_EQ(send("pause cd"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("paused"));
    const QString at = ask("status cd position");
    EXPECT_TRUE(at.startsWith(QLatin1String("02:00:00:"))) << at.toStdString();

    // A skip forward while paused, in milliseconds: lands 1.2 s later, stopped.
    ASSERT_EQ(send("set cd time format milliseconds"), 0);
    const qint64 ms = ask("status cd position wait").toLongLong();
    EXPECT_GE(ms, 1000 + 250);
    ASSERT_EQ(send(QStringLiteral("seek cd to %1").arg(ms + 1200).toUtf8().constData()), 0);
    EXPECT_EQ(ask("status cd position").toLongLong(), (ms + 1200) * 75 / 1000 * 1000 / 75) << "whole frames of 1/75 s";
    EXPECT_EQ(send(QStringLiteral("seek cd to %1").arg(ms + 5000).toUtf8().constData()), mci::OutOfRange);
    ASSERT_EQ(send("set cd time format tmsf"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));

    // Play from the last track to the end of the disc.
    ASSERT_EQ(send("play cd from 3"), 0);
    const qint64 took = vxtest::playToEnd(QStringLiteral("cd"));
    ASSERT_GE(took, 0) << "a track of 1.5 s ends";
    EXPECT_GT(took, 1200) << "in real time";
    EXPECT_EQ(ask("status cd position"), QStringLiteral("03:00:01:37"));
    EXPECT_EQ(send("close cd"), 0);
}

TEST_F(CdImageTest, OneTrackDataFirstAndTruncatedImages)
{
    ASSERT_TRUE(cdtest::writeImage(path("one.cue"), {{75}}));
    ASSERT_EQ(openAt(path("one.cue")), 0);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("1"));
    EXPECT_EQ(ask("status cd length track 1"), QStringLiteral("00:01:00"));
    ASSERT_EQ(send("close cd"), 0);

    ASSERT_TRUE(cdtest::writeImage(path("data.cue"), {{150, false}, {75}, {75}}));
    ASSERT_EQ(openAt(path("data.cue")), 0);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("3"));
    ASSERT_EQ(send("play cd from 1"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("playing"));
    EXPECT_TRUE(ask("status cd position").startsWith(QLatin1String("02:"))) << "music starts at track 2";
    // The program ending mid-disc: the interpreter goes with its devices, at once.
    QElapsedTimer end;
    end.start();
    setMediaCommandDriver(makeMediaCommandInterpreter());
    EXPECT_LT(end.elapsed(), 1000);

    // The BIN ends 20 frames into the last track, mid-sector: play stops there.
    ASSERT_TRUE(cdtest::writeImage(path("cut.cue"), {{75}, {75}}, 55 * cd::kSectorBytes - 100));
    ASSERT_EQ(openAt(path("cut.cue")), 0);
    ASSERT_EQ(send("play cd from 2"), 0);
    EXPECT_GE(vxtest::playToEnd(QStringLiteral("cd")), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:00:20")) << "stopped at the last whole sector";
    EXPECT_EQ(send("close cd"), 0);
}

// A sheet whose data file is a FIFO is no disc, at once: the image reader
// never waits on it.
TEST_F(CdImageTest, ASheetNamingAFifoIsNoDisc)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.bin")).constData(), 0600), 0);
    QFile sheet(path("pipe.cue"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("FILE \"pipe.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    sheet.close();
    cd::CdAudioDevice::setCallTimeout(2000);
    ASSERT_EQ(openAt(path("pipe.cue")), 0);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("false"));
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_EQ(send("close cd"), 0);
    cd::CdAudioDevice::setCallTimeout(5000);
}

TEST_F(CdImageTest, NoDriveAndADoorCommandOnAPlainFileFailWithTheirErrors)
{
    EXPECT_EQ(openAt(path("nothing/here")), mci::NoDrive);
    EXPECT_EQ(openAt(QDir::tempPath()), mci::NoDrive) << "a folder is no drive";
    EXPECT_EQ(send("status cd mode"), mci::NotOpen);
    qunsetenv(cd::kDeviceVariable);
    EXPECT_EQ(cd::devicePath(), QStringLiteral("/dev/cdrom"));
    if (!QFileInfo::exists(QStringLiteral("/dev/cdrom"))) {
        EXPECT_EQ(send("open cdaudio alias cd wait shareable"), mci::NoDrive);
        EXPECT_EQ(mciGetErrorString(mci::NoDrive), QStringLiteral("CDドライブが見つかりません。"));
    }

    ASSERT_TRUE(cdtest::writeImage(path("plain.cue"), {{75}, {75}}));
    ASSERT_EQ(openAt(path("plain.cue")), 0);
    ASSERT_EQ(send("play cd from 1"), 0);
    EXPECT_EQ(send("set cd door open"), mci::NoDoor);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped")) << "playback stops before the door is tried";
    EXPECT_EQ(send("set cd door closed"), mci::NoDoor);
    EXPECT_EQ(mciGetErrorString(mci::NoDoor), QStringLiteral("このデバイスはトレイを開閉できません。"));
    EXPECT_EQ(cd::moveDoor(path("nothing/here"), true), mci::NoDrive);
}

} // namespace
