#include "consoleplayer.h"
#include "fixtures_test.h"
#include "playlistfile.h"
#include "transportbar.h"

#include "platform/core/errors.h"
#include "testing/errors.h"
#include "testing/harness.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QLabel>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

using namespace vx;

using vxtest::errorOf;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(6000, 4500); }
};

// A one-file web server on the loopback, alive only inside its test. With
// `silent` it takes connections and never answers.
class LoopbackServer : public QObject {
public:
    LoopbackServer(QByteArray body, bool silent) : body_(std::move(body)), silent_(silent)
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server_.nextPendingConnection()) {
                s->setParent(this);
                if (silent_)
                    continue;
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    request_ += s->readAll();
                    if (!request_.contains("\r\n\r\n") || answered_.contains(s))
                        return;
                    answered_ << s;
                    s->write("HTTP/1.0 200 OK\r\nContent-Type: audio/x-wav\r\nContent-Length: "
                             + QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n");
                    s->write(body_);
                    s->disconnectFromHost();
                });
            }
        });
    }
    QString url(const char *name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(QLatin1String(name));
    }

private:
    QTcpServer server_;
    QByteArray body_;
    bool silent_;
    QByteArray request_;
    QList<QTcpSocket *> answered_;
};

class ConsolePlayerTest : public vxtest::GuiTest {
protected:
    QString path(const char *name) const { return dir_.filePath(QLatin1String(name)); }
    ConsolePlayer &control(const QString &controls, const QString &console)
    {
        auto *p = new ConsolePlayer(&host_, QStringLiteral("RealAudio%1").arg(++made_),
                                    {.controls = controls, .console = console, .background = QStringLiteral("#000000")});
        p->setGeometry(0, 0, 400, 300);
        return *p;
    }
    // Runs the event loop until `done` or `limitMs`; the time taken, -1 when not done.
    static qint64 until(const std::function<bool()> &done, int limitMs = 30000)
    {
        QElapsedTimer t;
        t.start();
        return vxtest::waitUntil(done, limitMs) ? t.elapsed() : -1;
    }
    static QAbstractButton *button(ConsolePlayer &p, const char *name)
    {
        for (auto *b : p.findChildren<QAbstractButton *>())
            if (b->accessibleName() == QString::fromUtf8(name))
                return b;
        return nullptr;
    }
    Host host_;
    QTemporaryDir dir_;
    int made_ = 0;
};

TEST_F(ConsolePlayerTest, LocalClipsPlayToTheirEndOrAgainWithRepeat)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 300));
    ASSERT_TRUE(mediatest::writeMidi(path("b.mid"), 300));
    ConsolePlayer &p = control(QStringLiteral("All"), QString());
    for (const char *name : {"a.wav", "b.mid"}) {
        p.setSource(path(name));
        p.DoPlay();
        EXPECT_EQ(p.PlayState(), ConsolePlayer::Playing) << name;
        EXPECT_GT(until([&] { return p.PlayState() == ConsolePlayer::Stopped; }), 0) << name;
    }
    // Repeat plays on past the end until stopped.
    p.setSource(path("a.wav"));
    p.setRepeat(true);
    p.DoPlay();
    // The time allowed is what is tested: three times the clip's length.
    EXPECT_FALSE(vxtest::waitUntil([&] { return p.PlayState() != ConsolePlayer::Playing; }, 900));
    p.DoStop();
    EXPECT_EQ(p.PlayState(), ConsolePlayer::Stopped);
    EXPECT_EQ(p.StatusText(), QStringLiteral("停止"));
}

TEST_F(ConsolePlayerTest, LocalSourcesThatCannotPlayRaiseTheirError)
{
    mediatest::writeFile(path("text.mp3"), "not a clip at all");
    mediatest::writeFile(path("news.rt"), "<window>text</window>");
    mediatest::writeFile(path("show.smil"), "<smil><body/></smil>");
    mediatest::writeFile(path("movie.swf"), QByteArray("FWS\x05\x00\x00\x00\x00", 8));
    mediatest::writeFile(path("empty.ram"), "# nothing\n\n");
    ConsolePlayer &p = control(QStringLiteral("ImageWindow"), QString());
    for (const char *name : {"text.mp3", "news.rt", "show.smil", "movie.swf", "empty.ram"}) {
        p.setSource(path(name));
        EXPECT_EQ(errorOf([&] { p.DoPlay(); }), err::InvalidCall) << name;
        EXPECT_EQ(p.PlayState(), ConsolePlayer::Stopped) << name;
    }
    for (const QString &source : {path("missing.wav"), dir_.path() + QLatin1Char('/'), QString()}) {
        p.setSource(source);
        EXPECT_EQ(errorOf([&] { p.DoPlay(); }), err::FileNotFound) << source.toStdString();
    }
    // A file that is not what its name says plays as what it is.
    ASSERT_TRUE(mediatest::writeWav(path("sound.png"), 200));
    p.setSource(path("sound.png"));
    p.DoPlay();
    EXPECT_EQ(p.PlayState(), ConsolePlayer::Playing);
    EXPECT_TRUE(p.StillPicture().isNull());
}

TEST_F(ConsolePlayerTest, PanelAndPictureOfOneConsoleShareOneClipUntilTheLastGoes)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 2000));
    ConsolePlayer &picture = control(QStringLiteral("ImageWindow"), QStringLiteral("two"));
    auto *panel = &control(QStringLiteral("ControlPanel"), QStringLiteral("two"));
    ConsolePlayer &other = control(QStringLiteral("All"), QStringLiteral("one"));
    ASSERT_NE(picture.videoArea(), nullptr);
    EXPECT_EQ(picture.panel(), nullptr);
    ASSERT_NE(panel->panel(), nullptr);
    EXPECT_EQ(panel->videoArea(), nullptr);
    picture.setSource(path("a.wav"));
    EXPECT_EQ(panel->Source(), path("a.wav"));
    EXPECT_TRUE(other.Source().isEmpty());
    // The panel's buttons are real buttons that act on the picture's clip.
    for (const char *name : {"再生", "一時停止", "停止", "消音"})
        ASSERT_NE(button(*panel, name), nullptr) << name;
    button(*panel, "再生")->click();
    EXPECT_EQ(picture.PlayState(), ConsolePlayer::Playing);
    EXPECT_EQ(other.PlayState(), ConsolePlayer::Stopped);
    EXPECT_TRUE(panel->panel()->statusText().startsWith(QStringLiteral("再生中")));
    button(*panel, "一時停止")->click();
    EXPECT_EQ(picture.PlayState(), ConsolePlayer::Paused);
    button(*panel, "停止")->click();
    EXPECT_EQ(picture.PlayState(), ConsolePlayer::Stopped);
    // A panel's play of a source that cannot play only says so.
    picture.setSource(path("missing.wav"));
    button(*panel, "再生")->click();
    EXPECT_EQ(picture.PlayState(), ConsolePlayer::Stopped);
    EXPECT_FALSE(panel->panel()->statusText().isEmpty());
    // The console lives while one of its controls does.
    picture.setSource(path("a.wav"));
    delete panel;
    EXPECT_EQ(picture.Source(), path("a.wav"));
    delete &picture;
    EXPECT_TRUE(control(QStringLiteral("All"), QStringLiteral("two")).Source().isEmpty());
}

TEST_F(ConsolePlayerTest, RamListsPlayTheirUsableLinesInOrder)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 250));
    ASSERT_TRUE(mediatest::writeWav(path("b.wav"), 250));
    const QByteArray list = "# a list\r\n\r\n  a.wav  \nmissing.wav\n:::garbage\nfile:" + path("b.wav").toUtf8()
                          + "\nother.ram\nftp://example.invalid/x.rm\nhttp://127.0.0.1:1/x.rm\nRTSP://host/clip.rm\n";
    EXPECT_EQ(media::parseRamList(list, dir_.path()),
              (QStringList{path("a.wav"), path("b.wav"), QStringLiteral("http://127.0.0.1:1/x.rm"),
                           QStringLiteral("RTSP://host/clip.rm")}));
    EXPECT_TRUE(media::parseRamList(QByteArray("\xFF\xFE\x00", 3) + QByteArray(5000, '\0'), dir_.path()).isEmpty());
    mediatest::writeFile(path("list.ram"), "a.wav\nnothing here\nb.wav\n");
    ConsolePlayer &p = control(QStringLiteral("All"), QString());
    p.setSource(path("list.ram"));
    p.DoPlay();
    const qint64 took = until([&] { return p.PlayState() == ConsolePlayer::Stopped; });
    EXPECT_GE(took, 400) << "both entries play";
}

// A list goes on past an entry that fails, the status line naming it; a list
// where every entry fails ends once, with the last failure named, also when
// it would repeat.
TEST_F(ConsolePlayerTest, RamListsGoOnPastEntriesThatFail)
{
    ASSERT_TRUE(mediatest::writeWav(path("b.wav"), 1500));
    ASSERT_TRUE(mediatest::writeFile(path("text.mp3"), QByteArray(4000, 'x')));
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QString refused = QStringLiteral("http://127.0.0.1:%1/x.rm").arg(closed.serverPort());
    closed.close();
    mediatest::writeFile(path("list.ram"), (refused + QStringLiteral("\ntext.mp3\nb.wav\n")).toUtf8());
    ConsolePlayer &p = control(QStringLiteral("All"), QString());
    QLabel *status = nullptr;
    for (QLabel *l : p.panel()->findChildren<QLabel *>())
        if (l->text() == p.StatusText())
            status = l;
    ASSERT_NE(status, nullptr);
    p.setSource(path("list.ram"));
    p.DoPlay();
    ASSERT_GE(until([&] { return p.PlayState() == ConsolePlayer::Playing; }, 15000), 0) << p.StatusText().toStdString();
    EXPECT_TRUE(p.StatusText().startsWith(QStringLiteral("再生中"))) << p.StatusText().toStdString();
    EXPECT_TRUE(p.StatusText().contains(QStringLiteral("再生できません: ") + path("text.mp3")))
        << p.StatusText().toStdString();
    // The status line is read as what it says.
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(status);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), p.StatusText());
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("状態"));
    ASSERT_GE(until([&] { return p.PlayState() == ConsolePlayer::Stopped; }, 15000), 0);
    EXPECT_EQ(p.StatusText(), QStringLiteral("準備完了")) << "played through: nothing failed after b.wav";

    // Nothing in the list plays, repeat or not: it ends once.
    mediatest::writeFile(path("bad.ram"), (refused + QStringLiteral("\ntext.mp3\n") + refused + QStringLiteral("?2\n")).toUtf8());
    p.setRepeat(true);
    p.setSource(path("bad.ram"));
    QStringList seen;
    p.DoPlay();
    const qint64 took = until(
        [&] {
            if (seen.isEmpty() || seen.last() != p.StatusText())
                seen << p.StatusText();
            return p.PlayState() == ConsolePlayer::Stopped;
        },
        15000);
    ASSERT_GE(took, 0);
    EXPECT_EQ(p.StatusText(), QStringLiteral("接続できません: ") + refused + QStringLiteral("?2"));
    // The time allowed is what is tested: a second round would start at once.
    EXPECT_FALSE(vxtest::waitUntil([&] { return p.PlayState() != ConsolePlayer::Stopped; }, 300)) << "no second round";
    EXPECT_EQ(seen.filter(QStringLiteral("接続中: ") + refused + QStringLiteral("?2")).size(), 1) << seen.join('|').toStdString();
    p.setRepeat(false);
}

TEST_F(ConsolePlayerTest, StillPicturesShowFittedOrAtTheirOwnSize)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path("p.png")));
    ASSERT_TRUE(picture.save(path("p.gif")) || picture.save(path("p.gif"), "PNG"));
    ASSERT_TRUE(picture.save(path("p.jpg")));
    ConsolePlayer &p = control(QStringLiteral("ImageWindow"), QStringLiteral("still"));
    ConsolePlayer &panel = control(QStringLiteral("All"), QStringLiteral("still"));
    for (const char *name : {"p.png", "p.gif", "p.jpg"}) {
        p.setSource(path(name));
        p.DoPlay();
        EXPECT_EQ(p.StillPicture().size(), QSize(40, 30)) << name;
        EXPECT_EQ(p.videoArea()->still().size(), QSize(40, 30)) << name;
        EXPECT_EQ(panel.panel()->statusText(), QStringLiteral("静止画")) << name;
    }
    p.setNativeSize(true);
    EXPECT_TRUE(p.videoArea()->nativeSize());
    p.setSource(QString());
    EXPECT_TRUE(p.videoArea()->still().isNull());
}

TEST_F(ConsolePlayerTest, VideoAtItsOwnSizeSitsInTheMiddleOfThePicture)
{
    ASSERT_TRUE(mediatest::writeAvi(path("v.avi"), 30));
    ConsolePlayer &p = control(QStringLiteral("ImageWindow"), QString());
    host_.show();
    p.setNativeSize(true);
    p.setSource(path("v.avi"));
    p.DoPlay();
    QWidget *video = nullptr;
    ASSERT_GE(until([&] {
                  const auto children = p.videoArea()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
                  video = children.isEmpty() ? nullptr : children.first();
                  return video && video->size() == QSize(160, 120);
              }),
              0);
    EXPECT_EQ(video->geometry(), QRect(120, 90, 160, 120));
    p.setNativeSize(false);
    EXPECT_EQ(video->geometry(), p.videoArea()->rect());
}

TEST_F(ConsolePlayerTest, AddressesOpenInTheBackgroundAndFailOnlyInTheStatusLine)
{
    QByteArray wav;
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 300));
    {
        QFile f(path("a.wav"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        wav = f.readAll();
    }
    LoopbackServer server(wav, false);
    ConsolePlayer &p = control(QStringLiteral("All"), QString());
    p.setSource(server.url("a.wav"));
    p.DoPlay();
    EXPECT_EQ(p.PlayState(), ConsolePlayer::Opening);
    EXPECT_GT(until([&] { return p.PlayState() == ConsolePlayer::Playing; }), 0) << p.StatusText().toStdString();
    EXPECT_GT(until([&] { return p.PlayState() == ConsolePlayer::Stopped; }), 0);

    // Nothing listens there: only the status line tells.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    p.setSource(QStringLiteral("http://127.0.0.1:%1/none.rm").arg(port));
    EXPECT_EQ(errorOf([&] { p.DoPlay(); }), 0);
    EXPECT_GE(until([&] { return p.PlayState() == ConsolePlayer::Stopped; }), 0);
    EXPECT_TRUE(p.StatusText().startsWith(QStringLiteral("接続できません"))) << p.StatusText().toStdString();
    // Real's own protocols go as far as GStreamer's sources reach, quietly.
    for (const char *scheme : {"pnm", "rtsp", "mms"}) {
        p.setSource(QStringLiteral("%1://127.0.0.1:%2/clip.ra").arg(QLatin1String(scheme)).arg(port));
        EXPECT_EQ(errorOf([&] { p.DoPlay(); }), 0) << scheme;
        p.DoStop();
    }
}

TEST_F(ConsolePlayerTest, AddressThatNeverAnswersLeavesTheWindowResponsive)
{
    LoopbackServer silent(QByteArray(), true);
    ConsolePlayer &p = control(QStringLiteral("All"), QString());
    p.setSource(silent.url("stream.rm"));
    QElapsedTimer t;
    t.start();
    p.DoPlay();
    // Far below the connection's time-out, which a blocking play would wait out.
    EXPECT_LT(t.elapsed(), 3000);
    // The window thread runs on meanwhile.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(20);
    EXPECT_TRUE(vxtest::waitUntil([&] { return ticks >= 10; }));
    EXPECT_EQ(p.PlayState(), ConsolePlayer::Opening);
    EXPECT_TRUE(p.StatusText().startsWith(QStringLiteral("接続中")));
    t.restart();
    p.DoStop();
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(p.PlayState(), ConsolePlayer::Stopped);
}

} // namespace
