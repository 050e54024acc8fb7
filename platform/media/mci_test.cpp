#include "engine.h"
#include "fixtures_test.h"
#include "mci.h"

#include "testing/mediacommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>

using namespace vx;

namespace {

class MciTest : public vxtest::GuiTest {
protected:
    QString path(const char *name) const { return dir_.filePath(QLatin1String(name)); }
    static QString open(const QString &file, const char *alias = "Media")
    {
        return QStringLiteral("open \"%1\" alias %2").arg(file, QLatin1String(alias));
    }
    static QString status(const char *what, const char *alias = "Media")
    {
        return vxtest::mciAsk(QStringLiteral("status %1 %2").arg(QLatin1String(alias), QLatin1String(what)));
    }
    static qint64 playToEnd(int limitMs = 30000) { return vxtest::playToEnd(QStringLiteral("Media"), limitMs); }
    QTemporaryDir dir_;
};

TEST_F(MciTest, CommandsOfOtherShapesFailWithTheirOwnNumberAndText)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 300));
    QString reply = QStringLiteral("old");
    const std::pair<const char *, int> cases[] = {
        {"", mci::UnknownCommand},
        {"   ", mci::UnknownCommand},
        {"eject Media", mci::UnknownCommand},
        {"play Media", mci::NotOpen},
        {"status Media mode", mci::NotOpen},
        {"close Media", mci::NotOpen},
        {"play", mci::BadArguments},
        {"open \"/no/such/file.wav\" alias Media", mci::FileNotFound},
        {"open \"\" alias Media", mci::FileNotFound},
        {"open \"/tmp/a.wav alias Media", mci::NoClosingQuote},
        {"open \"/tmp/a\"b.wav\" alias Media", mci::BadArguments},
        {"open /tmp/a.wav", mci::BadArguments},
        {"open /tmp/a.wav type waveaudio alias Media", mci::BadArguments},
    };
    for (const auto &[command, expected] : cases) {
        SCOPED_TRACE(command);
        EXPECT_EQ(mciSendString(QString::fromUtf8(command), reply), expected);
        EXPECT_TRUE(reply.isEmpty());
        EXPECT_FALSE(mciGetErrorString(expected).isEmpty());
    }
    EXPECT_EQ(mciGetErrorString(0), QString());
    EXPECT_EQ(mciGetErrorString(mci::NotOpen), QStringLiteral("指定された名前のデバイスは開かれていません。"));
    // A file is always quoted, and nothing else is: each of these names a
    // file that plays, in a shape the interpreter does not take.
    for (const QString &command :
         {QStringLiteral("open %1 alias Media").arg(path("a.wav")),
          QStringLiteral("open \"%1\" \"alias\" Media").arg(path("a.wav")),
          QStringLiteral("open \"%1\" alias \"Media\"").arg(path("a.wav")),
          QStringLiteral("\"open\" \"%1\" alias Media").arg(path("a.wav"))}) {
        SCOPED_TRACE(command.toStdString());
        EXPECT_EQ(mciSendString(command, reply), mci::BadArguments);
        EXPECT_EQ(mciGetErrorString(mci::BadArguments), QStringLiteral("コマンドの指定が正しくありません。"));
        EXPECT_EQ(mciSendString(QStringLiteral("close Media")), mci::NotOpen) << "nothing was opened";
    }

    ASSERT_EQ(mciSendString(open(path("a.wav"))), 0);
    EXPECT_EQ(mciSendString(open(path("a.wav"), "media")), mci::AliasInUse) << "names ignore case";
    EXPECT_EQ(mciSendString(QStringLiteral("status Media volume"), reply), mci::BadArguments);
    EXPECT_EQ(mciSendString(QStringLiteral("seek Media to end")), mci::BadArguments);
    EXPECT_EQ(mciSendString(QStringLiteral("play Media now")), mci::BadArguments);
    EXPECT_EQ(mciSendString(QStringLiteral("CLOSE MEDIA")), 0);
    EXPECT_EQ(mciSendString(QStringLiteral("close Media")), mci::NotOpen);
}

TEST_F(MciTest, WavOpensStoppedPlaysToItsEndAndRestartsFromTheStart)
{
    ASSERT_TRUE(mediatest::writeWav(path("tone.wav"), 300));
    ASSERT_EQ(mciSendString(open(path("tone.wav"))), 0);
    EXPECT_EQ(status("mode"), QStringLiteral("stopped"));
    EXPECT_EQ(status("length"), QStringLiteral("300"));
    EXPECT_EQ(status("position"), QStringLiteral("0"));
    ASSERT_EQ(mciSendString(QStringLiteral("Play media")), 0);
    EXPECT_EQ(status("mode"), QStringLiteral("playing")) << "from the moment play is accepted";
    const qint64 took = playToEnd();
    EXPECT_GT(took, 150);
    EXPECT_LT(took, 3000);
    EXPECT_EQ(status("mode"), QStringLiteral("stopped"));
    EXPECT_EQ(status("position"), QStringLiteral("300")) << "an ended clip stands at its end";
    ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
    EXPECT_EQ(status("mode"), QStringLiteral("stopped")) << "nothing is left to play";
    ASSERT_EQ(mciSendString(QStringLiteral("seek Media to start")), 0);
    EXPECT_EQ(status("position"), QStringLiteral("0"));
    ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
    EXPECT_GT(playToEnd(), 150) << "plays again from the start";
    EXPECT_EQ(mciSendString(QStringLiteral("stop Media ")), 0) << "a trailing blank is fine";
    EXPECT_EQ(mciSendString(QStringLiteral("close Media")), 0);
}

TEST_F(MciTest, PauseHoldsThePositionAndPlayResumes)
{
    ASSERT_TRUE(mediatest::writeWav(path("long.wav"), 1500));
    ASSERT_EQ(mciSendString(open(path("long.wav"))), 0);
    ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
    ASSERT_TRUE(vxtest::waitUntil([] { return status("position").toLongLong() > 100; }));
    ASSERT_EQ(mciSendString(QStringLiteral("pause Media")), 0);
    EXPECT_EQ(status("mode"), QStringLiteral("paused"));
    const qint64 at = status("position").toLongLong();
    // The time allowed is what is tested: a playing clip would move 300 ms.
    EXPECT_FALSE(vxtest::waitUntil([&] { return status("position").toLongLong() != at; }, 300))
        << "the position holds while paused";
    ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
    EXPECT_EQ(status("mode"), QStringLiteral("playing"));
    ASSERT_EQ(mciSendString(QStringLiteral("stop Media")), 0);
    EXPECT_EQ(status("mode"), QStringLiteral("stopped"));
    EXPECT_EQ(mciSendString(QStringLiteral("close Media")), 0);
}

TEST_F(MciTest, OggMp3AndMidiDecodeAndPlayToTheirEnd)
{
    ASSERT_TRUE(mediatest::writeOgg(path("a.ogg"), 300));
    ASSERT_TRUE(mediatest::writeMp3(path("b.mp3"), 300));
    ASSERT_TRUE(mediatest::writeMidi(path("c.mid"), 300));
    for (const char *name : {"a.ogg", "b.mp3", "c.mid"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(mciSendString(open(path(name))), 0);
        const qint64 length = status("length").toLongLong();
        EXPECT_GE(length, 250);
        EXPECT_LE(length, 400);
        ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
        const qint64 took = playToEnd();
        EXPECT_GT(took, 100);
        EXPECT_LT(took, 3000);
        EXPECT_EQ(mciSendString(QStringLiteral("close Media")), 0);
    }
}

TEST_F(MciTest, TwoShortEntriesPlayBackToBack)
{
    ASSERT_TRUE(mediatest::writeWav(path("1.wav"), 300));
    ASSERT_TRUE(mediatest::writeOgg(path("2.ogg"), 300));
    QElapsedTimer t;
    t.start();
    for (const char *name : {"1.wav", "2.ogg"}) {
        mciSendString(QStringLiteral("stop Media"));
        mciSendString(QStringLiteral("close Media"));
        ASSERT_EQ(mciSendString(open(path(name))), 0);
        ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
        EXPECT_GT(playToEnd(), 100) << name;
    }
    EXPECT_LT(t.elapsed(), 4000);
    mciSendString(QStringLiteral("close Media"));
}

TEST_F(MciTest, BrokenFilesFailToOpenAndNeverHang)
{
    ASSERT_TRUE(mediatest::writeFile(path("empty.mp3"), QByteArray()));
    ASSERT_TRUE(mediatest::writeFile(path("text.wav"), QByteArray("this is only text\n").repeated(50)));
    ASSERT_TRUE(mediatest::writeFile(path("noise.wma"), QByteArray(4096, '\x5A')));
    ASSERT_TRUE(mediatest::writeFile(path("bad.mid"), QByteArray("MThd\x00\x00\x00\x06garbage", 15)));
    for (const char *name : {"empty.mp3", "text.wav", "noise.wma", "bad.mid"}) {
        SCOPED_TRACE(name);
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(mciSendString(open(path(name))), mci::CannotPlay);
        // Each fails when the engine says so, well before the open's time-out.
        EXPECT_LT(t.elapsed(), 6000);
        EXPECT_EQ(mciSendString(QStringLiteral("play Media")), mci::NotOpen);
    }

    // Cut short, an MP3 plays what is left and ends.
    ASSERT_TRUE(mediatest::writeMp3(path("whole.mp3"), 600));
    QFile whole(path("whole.mp3"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_TRUE(mediatest::writeFile(path("cut.mp3"), whole.read(whole.size() / 2)));
    if (mciSendString(open(path("cut.mp3"))) == 0) {
        EXPECT_EQ(mciSendString(QStringLiteral("play Media")), 0);
        EXPECT_GE(playToEnd(), 0) << "ends";
        EXPECT_EQ(mciSendString(QStringLiteral("close Media")), 0);
    }
}

// An open never holds the window for long: what does not tell its length
// at once is estimated from its bytes and bit rate.
TEST_F(MciTest, OpenAnswersSoonWithTheLengthOrAnEstimate)
{
    // Frame headers of a 128 kbit/s MP3 with nothing in the frames.
    QByteArray damaged;
    for (int i = 0; i < 1200; ++i)
        damaged += QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(413, '\0');
    ASSERT_TRUE(mediatest::writeFile(path("t.mp3"), damaged));
    // A constant-rate MP3 of 3 s without a header that tells its length.
    ASSERT_TRUE(mediatest::writeMp3(path("cbr.mp3"), 3000));
    const struct {
        const char *name;
        qint64 low, high;
    } clips[] = {{"t.mp3", 30000, 32500}, {"cbr.mp3", 2700, 3300}};
    for (const auto &clip : clips) {
        SCOPED_TRACE(clip.name);
        QElapsedTimer t;
        t.start();
        ASSERT_EQ(mciSendString(open(path(clip.name))), 0);
        EXPECT_LT(t.elapsed(), 3000) << "the open did not wait for a length that never comes";
        const qint64 length = status("length").toLongLong();
        EXPECT_GE(length, clip.low);
        EXPECT_LE(length, clip.high);
        EXPECT_EQ(mciSendString(QStringLiteral("close Media")), 0);
    }
}

TEST_F(MciTest, VideoShowsInAWindowOfItsOwnThatClosesWithTheClip)
{
    ASSERT_TRUE(mediatest::writeAvi(path("v.avi"), 5));
    int error = -1;
    auto clip = media::PlaybackEngine::open(path("v.avi"), error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(clip->lengthMs(), 500);
    ASSERT_EQ(clip->play(), 0);
    vxtest::waitUntil([&] { return clip->videoWindow() != nullptr; });
    QPointer<QWidget> window = clip->videoWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(160, 120));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("v.avi"));
    clip.reset();
    EXPECT_FALSE(window) << "closing the clip takes its window";
}

} // namespace
