// The cdaudio device over the fake drive: the command shapes, tmsf and
// millisecond replies, ranges, playback, the tray and a drive that hangs.
#include "audiosink.h"
#include "cdaudio.h"
#include "cdfake.h"
#include "mci.h"

#include "testing/mediacommands.h"

#include <QElapsedTimer>

using namespace vx;

namespace {

class CdAudioTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        auto system = std::make_unique<cd::FakeCdSystem>();
        this->system = system.get();
        medium = system->medium;
        cd::setCdDriveSystem(std::move(system));
        setMediaCommandDriver(makeMediaCommandInterpreter());
    }
    void TearDown() override
    {
        setMediaCommandDriver(nullptr);
        cd::setCdDriveSystem(nullptr);
        cd::CdAudioDevice::setCallTimeout(5000);
        GuiTest::TearDown();
    }
    static int send(const char *command) { return mciSendString(QString::fromUtf8(command)); }
    // The reply, or "error N".
    static QString ask(const char *command) { return vxtest::mciAsk(QString::fromUtf8(command)); }
    void openCd() { ASSERT_EQ(send("open cdaudio alias cd wait shareable"), 0); }
    static qint64 playToEnd() { return vxtest::playToEnd(QStringLiteral("cd")); }
    static QString position() { return ask("status cd position"); }

    cd::FakeCdSystem *system = nullptr;
    std::shared_ptr<cd::FakeCdMedium> medium;
};

TEST_F(CdAudioTest, OpenNeedsADriveNotADiscAndErrorsNameTheirCause)
{
    openCd();
    EXPECT_EQ(system->opened, QStringList{cd::devicePath()});
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("false"));
    EXPECT_EQ(ask("status cd mode wait"), QStringLiteral("stopped"));
    EXPECT_EQ(ask("status cd number of tracks wait"), QStringLiteral("error %1").arg(mci::NoDisc));
    EXPECT_EQ(send("play cd"), mci::NoDisc);
    EXPECT_EQ(send("seek cd to 1"), mci::NoDisc);
    EXPECT_EQ(send("open cdaudio alias CD"), mci::AliasInUse) << "aliases ignore case";
    EXPECT_EQ(send("open \"/tmp/x.wav\" alias cd"), mci::AliasInUse);
    EXPECT_EQ(send("set cd time format frames"), mci::BadArguments);
    EXPECT_EQ(send("status cd volume"), mci::BadArguments);
    EXPECT_EQ(send("eject cd"), mci::UnknownCommand);
    EXPECT_EQ(send("close cd wait"), 0);
    EXPECT_EQ(send("status cd media present"), mci::NotOpen);

    for (int e : {mci::NoDrive, mci::NoPermission, mci::DriveBusy}) {
        system->openResult = e;
        EXPECT_EQ(send("open cdaudio alias cd wait shareable"), e);
        EXPECT_FALSE(mciGetErrorString(e).isEmpty()) << e;
        EXPECT_EQ(send("status cd mode"), mci::NotOpen) << "a failed open leaves no device";
    }
    EXPECT_NE(mciGetErrorString(mci::NoDrive), mciGetErrorString(mci::NoPermission));
    for (int e : {mci::NoDisc, mci::OutOfRange, mci::NoDoor, mci::NoAudioTrack})
        EXPECT_FALSE(mciGetErrorString(e).isEmpty()) << e;
}

TEST_F(CdAudioTest, TmsfAndMillisecondRepliesOnATwelveTrackDisc)
{
    std::vector<std::pair<qint32, bool>> tracks;
    for (int i = 1; i <= 12; ++i)
        tracks.push_back({i * 75 * 10 + i, true}); // 10 s a track more each, plus i frames
    medium->insert(tracks);
    openCd();
    ASSERT_EQ(send("set cd time format tmsf wait"), 0);
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("true"));
    EXPECT_EQ(ask("status cd number of tracks wait"), QStringLiteral("12"));
    EXPECT_EQ(ask("status cd length track 1"), QStringLiteral("00:10:01"));
    EXPECT_EQ(ask("status cd length track 12"), QStringLiteral("02:00:12"));
    EXPECT_EQ(ask("status cd length wait"), QStringLiteral("13:01:03"));
    EXPECT_EQ(ask("status cd position"), QStringLiteral("01:00:00:00"));
    EXPECT_EQ(ask("status cd length track 13"), QStringLiteral("error %1").arg(mci::OutOfRange));
    EXPECT_EQ(ask("status cd length track 0"), QStringLiteral("error %1").arg(mci::OutOfRange));

    ASSERT_EQ(send("seek cd to 3"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("03:00:00:00"));
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_EQ(send("seek cd to 13"), mci::OutOfRange);
    EXPECT_EQ(send("seek cd to x"), mci::BadArguments);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("03:00:00:00")) << "a refused seek moves nothing";
    ASSERT_EQ(send("seek cd to 0"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("01:00:00:00")) << "0 is the start of the disc";

    // Milliseconds count from the start of track 1.
    ASSERT_EQ(send("set cd time format milliseconds"), 0);
    ASSERT_EQ(send("seek cd to 12000"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("12000"));
    EXPECT_EQ(ask("status cd length track 1"), QStringLiteral("10013"));
    const qint64 total = ask("status cd length").toLongLong();
    EXPECT_EQ(total, (75 * 10 * 78 + 78) * 1000 / 75);
    EXPECT_EQ(send("seek cd to -3000"), mci::OutOfRange);
    EXPECT_EQ(send(QStringLiteral("seek cd to %1").arg(total + 1).toUtf8().constData()), mci::OutOfRange);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("12000"));
    ASSERT_EQ(send("set cd time format tmsf"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:01:74")) << "12 s is 1 s 74 frames into track 2";
}

// The output a disc plays through is made ready when the device opens, off
// the caller's thread: the first play then costs what later plays cost.
TEST_F(CdAudioTest, OpeningPreparesTheOutputInTheBackground)
{
    medium->insertAudio(2, 1);
    QElapsedTimer t;
    t.start();
    openCd();
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_TRUE(vxtest::waitUntil([] { return media::audioOutputPrepared(); }));
}

TEST_F(CdAudioTest, PlayPauseResumeAndTheEndOfTheDiscInRealTime)
{
    medium->insertAudio(2, 1);
    openCd();
    ASSERT_EQ(send("play cd from 2"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("playing"));
    ASSERT_TRUE(vxtest::waitUntil([] { return position().mid(9).toInt() > 10; })) << "the position moves while playing";
    ASSERT_EQ(send("pause cd"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("paused"));
    const QString paused = position();
    EXPECT_TRUE(paused.startsWith(QLatin1String("02:00:00:"))) << paused.toStdString();
    // The time allowed is what is tested: a quarter second would move a playing disc 18 frames.
    EXPECT_FALSE(vxtest::waitUntil([&] { return position() != paused; }, 250)) << "it holds while paused";
    ASSERT_EQ(send("play cd"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("playing"));
    const qint64 ms = playToEnd();
    EXPECT_GT(ms, 300) << "in real time";
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:01:00")) << "stopped at the end of the disc";
    EXPECT_EQ(send("play cd"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped")) << "nothing left to play";

    // Stop keeps the place; a seek while playing leaves the disc stopped.
    ASSERT_EQ(send("play cd from 1"), 0);
    ASSERT_TRUE(vxtest::waitUntil([] { return position() != QLatin1String("01:00:00:00"); }));
    ASSERT_EQ(send("stop cd wait"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_NE(position(), QStringLiteral("01:00:00:00")) << "stop keeps the place";
    ASSERT_EQ(send("play cd"), 0);
    ASSERT_EQ(send("seek cd to 2"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:00:00"));
}

TEST_F(CdAudioTest, UnreadableSectorEndsPlaybackThereAndDataTracksAreSkipped)
{
    medium->insert({{75, false}, {75, true}, {30, false}, {75, true}});
    medium->badSectors = {75 + 75 + 30 + 20};
    openCd();
    ASSERT_EQ(send("play cd from 1"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:00:00")) << "a data track plays from the next music";
    ASSERT_GE(playToEnd(), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("04:00:00:20")) << "the data track between is left out";
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_EQ(medium->reads, 75 + 20);

    medium->insert({{75, true}, {75, false}});
    EXPECT_EQ(send("play cd from 2"), mci::NoAudioTrack);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
}

TEST_F(CdAudioTest, DoorStopsPlaybackFirstAndAChangedDiscStartsAtItsBeginning)
{
    medium->insertAudio(3, 2);
    openCd();
    ASSERT_EQ(send("play cd from 2"), 0);
    ASSERT_TRUE(vxtest::waitUntil([&] { return medium->reads > 0; }));
    ASSERT_EQ(send("set cd door open wait"), 0);
    EXPECT_TRUE(medium->trayIsOpen);
    // The time allowed is what is tested: a stream still going would ask for
    // more within the second its queue holds.
    EXPECT_FALSE(vxtest::waitUntil([&] { return medium->attempts != medium->attemptsAtDoor; }, 1000))
        << "playback stopped before the tray opened";
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("open"));
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("false"));
    medium->insertAudio(5, 1);
    ASSERT_EQ(send("set cd door closed"), 0);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("5"));
    EXPECT_EQ(ask("status cd position"), QStringLiteral("01:00:00:00"));
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));

    // A disc swapped behind the device's back is read afresh too.
    ASSERT_EQ(send("seek cd to 4"), 0);
    medium->insertAudio(2, 1);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("01:00:00:00"));

    medium->doorResult = mci::NoDoor;
    EXPECT_EQ(send("set cd door open"), mci::NoDoor);
    EXPECT_EQ(send("set cd door ajar"), mci::BadArguments);
}

TEST_F(CdAudioTest, DriveThatDoesNotAnswerGivesATimeoutNotAFrozenWindow)
{
    medium->insertAudio(2, 1);
    openCd();
    cd::CdAudioDevice::setCallTimeout(100);
    medium->delayMs = 600;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(send("status cd media present"), mci::Timeout);
    EXPECT_EQ(send("status cd number of tracks"), mci::Timeout) << "the hung call still holds the drive";
    EXPECT_LT(t.elapsed(), 500);
    EXPECT_EQ(send("close cd"), 0);
    // The calls left behind finish and release the drive.
    EXPECT_TRUE(vxtest::waitUntil([&] { return medium.use_count() == 2; }))
        << "held by the test and the fake system only";
}

} // namespace
