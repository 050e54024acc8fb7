// An open that can only be judged by waiting leaves the window answering,
// and what runs meanwhile meets a defined device.
#include "consoleplayer.h"
#include "engine.h"
#include "fixtures_test.h"
#include "mci.h"
#include "mediaplayer.h"

#include "platform/core/errors.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

using namespace vx;

namespace {

const QEvent::Type kPing = QEvent::Type(QEvent::User + 71);

struct PingEvent : QEvent {
    explicit PingEvent(qint64 sent) : QEvent(kPing), sent(sent) {}
    qint64 sent;
};

// What the window thread does while a test waits: a timer of its own ticks
// every 20 ms, and pings posted from another thread every 20 ms are
// answered; both keep their longest gap.
class Probe : public QObject {
public:
    Probe()
    {
        clock_.start();
        lastTick_ = 0;
        timer_ = startTimer(20);
        pinger_ = std::thread([this] {
            while (!quit_) {
                QCoreApplication::postEvent(this, new PingEvent(clock_.elapsed()));
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~Probe() override
    {
        quit_ = true;
        pinger_.join();
        QCoreApplication::removePostedEvents(this);
    }
    // Longest gap between ticks and longest wait of a ping, from now on.
    void restart()
    {
        lastTick_ = clock_.elapsed();
        longestTick_ = 0;
        longestPing_ = 0;
    }
    qint64 longestTick() const { return std::max(longestTick_, clock_.elapsed() - lastTick_); }
    qint64 longestPing() const { return longestPing_; }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == kPing) {
            longestPing_ = std::max(longestPing_, clock_.elapsed() - static_cast<PingEvent *>(e)->sent);
            return true;
        }
        return QObject::event(e);
    }
    void timerEvent(QTimerEvent *) override
    {
        const qint64 now = clock_.elapsed();
        longestTick_ = std::max(longestTick_, now - lastTick_);
        lastTick_ = now;
    }

private:
    QElapsedTimer clock_;
    qint64 lastTick_ = 0;
    qint64 longestTick_ = 0;
    qint64 longestPing_ = 0;
    int timer_ = 0;
    std::atomic<bool> quit_{false};
    std::thread pinger_;
};

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(6000, 4500); }
};

// Runs `f` on the window thread at its next round of events: inside an
// open's wait when the open is called right after.
void meanwhile(std::function<void()> f)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(f), Qt::QueuedConnection);
}

// Runs what is still waiting for a round of events (an open that held the
// thread leaves it for now).
void afterwards()
{
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}

class OpenWaitTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        slow_ = dir_.filePath(QStringLiteral("slow.mp3"));
        short_ = dir_.filePath(QStringLiteral("short.wav"));
        ASSERT_TRUE(mediatest::writeSlowClip(slow_, 768));
        ASSERT_TRUE(mediatest::writeWav(short_, 300));
    }
    int send(const QString &command, QString *reply = nullptr)
    {
        QString r;
        const int e = mci_->send(command, r);
        if (reply)
            *reply = r;
        return e;
    }
    static QString open(const QString &file, const char *alias = "Media")
    {
        return QStringLiteral("open \"%1\" alias %2").arg(file, QLatin1String(alias));
    }
    QString status(const char *what)
    {
        QString reply;
        const int e = send(QStringLiteral("status Media %1").arg(QLatin1String(what)), &reply);
        return e ? QStringLiteral("error %1").arg(e) : reply;
    }

    QTemporaryDir dir_;
    QString slow_;
    QString short_;
    std::unique_ptr<MediaCommandDriver> mci_ = makeMediaCommandInterpreter();
};

TEST_F(OpenWaitTest, TheWindowKeepsAnsweringWhileAnOpenWaitsAndTheResultHolds)
{
    Probe probe;
    probe.restart();
    QElapsedTimer t;
    t.start();
    const int error = send(open(slow_));
    const qint64 took = t.elapsed();
    QCoreApplication::sendPostedEvents(&probe);
    EXPECT_GT(took, 100) << "the clip no longer makes the open wait: the test shows nothing";
    EXPECT_LT(probe.longestPing(), 100) << "open took " << took << " ms";
    EXPECT_LT(probe.longestTick(), 100) << "open took " << took << " ms";
    // One picture of 40 ms, stopped, and it plays (a machine starved past
    // the open's time-out gets the time-out instead).
    ASSERT_TRUE(error == mci::NoError || error == mci::Timeout) << error;
    if (error == mci::Timeout)
        return;
    EXPECT_EQ(status("length"), QStringLiteral("40"));
    EXPECT_EQ(status("mode"), QStringLiteral("stopped"));
    EXPECT_EQ(send(QStringLiteral("play Media")), mci::NoError);
    EXPECT_EQ(send(QStringLiteral("close Media")), mci::NoError);
}

// A handler that runs while the device opens finds it not open yet, cannot
// open the name twice, and may close it: the open then fails and a new one
// under the name stands. Timer ticks wait until the open has answered.
TEST_F(OpenWaitTest, CommandsWhileTheDeviceOpensMeetADefinedDevice)
{
    QTimer tick;
    tick.setInterval(5);
    bool opening = false;
    int ticksWhileOpening = 0;
    int ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        ticksWhileOpening += opening;
    });
    tick.start();

    QString replies;
    meanwhile([&] {
        replies = status("mode") + QLatin1Char('|') + QString::number(send(QStringLiteral("play Media"))) +
                  QLatin1Char('|') + QString::number(send(open(short_)));
    });
    opening = true;
    const int error = send(open(slow_));
    opening = false;
    afterwards();
    EXPECT_EQ(replies, QStringLiteral("error 304|304|305"));
    EXPECT_TRUE(error == mci::NoError || error == mci::Timeout) << error;
    if (error == mci::NoError) {
        EXPECT_EQ(status("length"), QStringLiteral("40"));
    }
    EXPECT_EQ(ticksWhileOpening, 0);
    EXPECT_TRUE(vxtest::waitUntil([&ticks] { return ticks > 0; }, 10000)) << "held ticks come after the open";

    // Closed meanwhile and opened anew: the newer clip is the device.
    send(QStringLiteral("close Media"));
    int closed = -1;
    int reopened = -1;
    meanwhile([&] {
        closed = send(QStringLiteral("close Media"));
        reopened = send(open(short_));
    });
    EXPECT_EQ(send(open(slow_)), mci::NotOpen);
    afterwards();
    EXPECT_EQ(closed, mci::NoError);
    EXPECT_EQ(reopened, mci::NoError);
    EXPECT_EQ(status("length"), QStringLiteral("300"));
    EXPECT_EQ(send(QStringLiteral("close Media")), mci::NoError);

    // The interpreter itself going meanwhile: the open gives up.
    meanwhile([this] { mci_.reset(); });
    QString reply;
    EXPECT_EQ(mci_->send(open(slow_), reply), mci::NotOpen);
    afterwards();
    EXPECT_FALSE(mci_);
}

// The player control's clip: one open at a time, and a close gives the
// waiting open up.
TEST_F(OpenWaitTest, ThePlayersClipOpensOnceAtATime)
{
    auto driver = makeEngineMediaPlayerDriver();
    int second = -1;
    meanwhile([&] { second = driver->open(short_); });
    const int error = driver->open(slow_);
    afterwards();
    EXPECT_EQ(second, mci::DeviceFailed);
    EXPECT_TRUE(error == mci::NoError || error == mci::Timeout) << error;
    if (error == mci::NoError) {
        EXPECT_EQ(driver->lengthMs(), 40);
    }

    meanwhile([&] { driver->close(); });
    EXPECT_EQ(driver->open(slow_), mci::NotOpen);
    afterwards();
    EXPECT_EQ(driver->lengthMs(), 0);
    EXPECT_EQ(driver->play(), mci::NotOpen);
    EXPECT_EQ(driver->open(short_), mci::NoError);
    EXPECT_EQ(driver->lengthMs(), 300);
}

// The player control: Play while its clip opens waits for that clip; a new
// file name meanwhile takes the place of the one still opening.
TEST_F(OpenWaitTest, ANewFileNameWhileTheControlOpensTakesItsPlace)
{
    Host host;
    MediaPlayer p(&host, QStringLiteral("MediaPlayer1"), {.autoStart = false});
    std::vector<int> states;
    p.PlayStateChange = [&states](int, int now) { states.push_back(now); };
    meanwhile([&] {
        p.Play();
        p.setFileName(short_);
    });
    try {
        p.setFileName(slow_);
        afterwards();
    } catch (const RuntimeError &e) {
        ADD_FAILURE() << e.description().toStdString();
    }
    EXPECT_EQ(p.FileName(), short_);
    EXPECT_EQ(states, std::vector<int>{MediaPlayer::Stopped});
    p.Play();
    EXPECT_EQ(p.PlayState(), MediaPlayer::Playing);
    EXPECT_TRUE(vxtest::waitUntil([&p] { return p.PlayState() == MediaPlayer::Stopped; }, 10000))
        << "the short clip plays to its end";
}

// The console player likewise: play while its file opens waits for that
// file; a new source meanwhile takes the console, which then plays nothing
// of the old one and names no failure.
TEST_F(OpenWaitTest, ANewSourceWhileTheConsoleOpensTakesItsPlace)
{
    Host host;
    ConsolePlayer c(&host, QStringLiteral("RealAudio1"), {});
    c.setSource(slow_);
    QString inner;
    meanwhile([&] {
        try {
            c.DoPlay();
            c.setSource(short_);
        } catch (const RuntimeError &e) {
            inner = e.description();
        }
    });
    try {
        c.DoPlay();
        afterwards();
    } catch (const RuntimeError &e) {
        ADD_FAILURE() << e.description().toStdString();
    }
    EXPECT_EQ(inner, QString());
    EXPECT_EQ(c.Source(), short_);
    EXPECT_EQ(c.PlayState(), ConsolePlayer::Stopped);
    EXPECT_FALSE(c.StatusText().contains(QStringLiteral("再生できません"))) << c.StatusText().toStdString();
    c.DoPlay();
    EXPECT_EQ(c.PlayState(), ConsolePlayer::Playing);
    EXPECT_TRUE(vxtest::waitUntil([&c] { return c.PlayState() == ConsolePlayer::Stopped; }, 10000));
}

} // namespace
