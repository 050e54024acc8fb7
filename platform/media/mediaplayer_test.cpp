#include "fixtures_test.h"
#include "mci.h"
#include "mediaplayer.h"
#include "midiports.h"
#include "playlistfile.h"

#include "platform/core/errors.h"
#include "testing/harness.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <QThread>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vx;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(6000, 4500); }
};

// ID3v2.3 title and artist frames (encoding 0: the Japanese code page).
QByteArray id3v23(const QByteArray &title, const QByteArray &artist)
{
    QByteArray frames;
    for (const auto &[id, text] : {std::pair{"TIT2", title}, std::pair{"TPE1", artist}}) {
        const quint32 size = quint32(text.size() + 1);
        frames += id;
        frames += char(size >> 24);
        frames += char(size >> 16);
        frames += char(size >> 8);
        frames += char(size);
        frames += QByteArray(2, '\0');
        frames += '\0';
        frames += text;
    }
    QByteArray tag("ID3\x03\x00\x00", 6);
    const quint32 n = quint32(frames.size());
    tag += char((n >> 21) & 0x7F);
    tag += char((n >> 14) & 0x7F);
    tag += char((n >> 7) & 0x7F);
    tag += char(n & 0x7F);
    return tag + frames;
}

QByteArray cp932(const QString &text)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 4, '\0');
    char *src = in.data();
    size_t srcLeft = size_t(in.size());
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.truncate(out.size() - qsizetype(dstLeft));
    return out;
}

class MediaPlayerTest : public vxtest::GuiTest {
protected:
    QString path(const char *name) const { return dir_.filePath(QLatin1String(name)); }
    MediaPlayer &player(const MediaPlayerDesign &design = {})
    {
        auto *p = new MediaPlayer(&host_, QStringLiteral("MediaPlayer%1").arg(++made_), design);
        p->setGeometry(0, 0, 400, 300);
        p->EndOfStream = [this, p](int) { ended_ << p; };
        return *p;
    }
    // Milliseconds until `p` raised EndOfStream (-1 when it did not in time).
    qint64 untilEnd(MediaPlayer &p, int limitMs = 30000)
    {
        QElapsedTimer t;
        t.start();
        if (!vxtest::waitUntil([&] { return ended_.contains(&p); }, limitMs))
            return -1;
        ended_.removeOne(&p);
        return t.elapsed();
    }
    bool writeTaggedMp3(const char *name, const QByteArray &tag)
    {
        const QString plain = path("plain.mp3");
        if (!mediatest::encode(mediatest::toneSource(300)
                                   + QStringLiteral("lamemp3enc target=bitrate cbr=true bitrate=64 ! filesink location=\"%1\""),
                               plain))
            return false;
        QFile f(plain);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        return mediatest::writeFile(path(name), tag + f.readAll());
    }
    Host host_;
    QTemporaryDir dir_;
    QList<MediaPlayer *> ended_;
    int made_ = 0;
};

TEST_F(MediaPlayerTest, FileNameStartsTheClipWhichEndsOnceWithItsEvents)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 300));
    MediaPlayer &p = player();
    QList<std::pair<int, int>> states;
    p.PlayStateChange = [&states](int o, int n) { states << std::pair{o, n}; };
    EXPECT_EQ(p.PlayState(), MediaPlayer::Closed);
    p.setFileName(path("a.wav"));
    EXPECT_EQ(p.FileName(), path("a.wav"));
    EXPECT_EQ(p.PlayState(), MediaPlayer::Playing);
    const qint64 took = untilEnd(p);
    EXPECT_GE(took, 150);
    EXPECT_EQ(p.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(states, (QList<std::pair<int, int>>{{6, 0}, {0, 2}, {2, 0}}));
    // Play after the end starts from the beginning.
    p.Play();
    EXPECT_EQ(p.PlayState(), MediaPlayer::Playing);
    EXPECT_GE(untilEnd(p), 150);
    EXPECT_TRUE(ended_.isEmpty());
}

TEST_F(MediaPlayerTest, ClipsThatCannotPlayRaiseFromFileNameAndPlay)
{
    ASSERT_TRUE(mediatest::writeFile(path("bad.mp3"), QByteArray(4000, 'x')));
    ASSERT_TRUE(mediatest::writeFile(path("empty.wav"), QByteArray()));
    MediaPlayer &p = player();
    try {
        p.setFileName(path("missing.wav"));
        ADD_FAILURE() << "a missing file opened";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
    }
    for (const char *name : {"bad.mp3", "empty.wav"})
        EXPECT_THROW(p.setFileName(path(name)), RuntimeError) << name;
    EXPECT_THROW(p.Play(), RuntimeError);
    EXPECT_EQ(p.PlayState(), MediaPlayer::Closed);
    EXPECT_THROW(p.setRate(0), RuntimeError);
    EXPECT_THROW(p.setRate(-1.5), RuntimeError);
    p.setFileName(QString());
    EXPECT_THROW(p.Play(), RuntimeError);
}

TEST_F(MediaPlayerTest, TagsAreKnownWhenFileNameReturnsInUtf8OrTheJapaneseCodePage)
{
    ASSERT_TRUE(writeTaggedMp3("t.mp3", id3v23("Song", "Singer")));
    ASSERT_TRUE(writeTaggedMp3("j.mp3", id3v23(cp932(QStringLiteral("夜明け～")), QByteArray())));
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 200));
    MediaPlayer &p = player();
    p.setFileName(path("t.mp3"));
    EXPECT_EQ(p.GetMediaInfoString(8), QStringLiteral("Song"));
    EXPECT_EQ(p.GetMediaInfoString(9), QStringLiteral("Singer"));
    EXPECT_EQ(p.GetMediaInfoString(1), QString());
    p.setFileName(path("j.mp3"));
    EXPECT_EQ(p.GetMediaInfoString(8), QStringLiteral("夜明け～"));
    EXPECT_EQ(p.GetMediaInfoString(9), QString());
    p.setFileName(path("a.wav"));
    EXPECT_EQ(p.GetMediaInfoString(8), QString()) << "tags go with their clip";
}

TEST_F(MediaPlayerTest, RateShortensThePlayTimeForWavAndMp3)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 600));
    ASSERT_TRUE(mediatest::writeMp3(path("b.mp3"), 600));
    MediaPlayer &p = player();
    for (const char *name : {"a.wav", "b.mp3"}) {
        p.setFileName(path(name));
        const qint64 plain = untilEnd(p);
        p.setFileName(path(name));
        p.setRate(1.5);
        EXPECT_EQ(p.Rate(), 1.5);
        const qint64 fast = untilEnd(p);
        p.setRate(1.0);
        EXPECT_GT(plain, 450) << name;
        EXPECT_GT(fast, 0) << name;
        EXPECT_LT(fast, plain - 100) << name;
    }
}

TEST_F(MediaPlayerTest, MidiAndRiffMidiPlayToTheirEnd)
{
    ASSERT_TRUE(mediatest::writeMidi(path("m.mid"), 300));
    QFile midi(path("m.mid"));
    ASSERT_TRUE(midi.open(QIODevice::ReadOnly));
    const QByteArray data = midi.readAll();
    QByteArray rmi("RIFF");
    mediatest::put32(rmi, quint32(4 + 8 + data.size() + (data.size() & 1) + 8 + 2));
    rmi += "RMIDdata";
    mediatest::put32(rmi, quint32(data.size()));
    rmi += data;
    if (data.size() & 1)
        rmi += '\0';
    rmi += "LIST";
    mediatest::put32(rmi, 2);
    rmi += "xx";
    ASSERT_TRUE(mediatest::writeFile(path("r.rmi"), rmi));
    MediaPlayer &p = player();
    for (const char *name : {"m.mid", "r.rmi"}) {
        p.setFileName(path(name));
        EXPECT_GT(untilEnd(p), 100) << name;
    }
    // A RIFF MIDI whose data chunk claims more than the file holds is refused.
    QByteArray cut = rmi.left(30);
    ASSERT_TRUE(mediatest::writeFile(path("cut.rmi"), cut));
    EXPECT_THROW(p.setFileName(path("cut.rmi")), RuntimeError);
}

TEST_F(MediaPlayerTest, PlaylistPlaysItsPlayableEntriesAsOneClip)
{
    ASSERT_TRUE(mediatest::writeWav(path("one.wav"), 300));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(mediatest::writeWav(path("sub/two.wav"), 300));
    ASSERT_TRUE(mediatest::writeFile(path("broken.wav"), QByteArray(100, 'z')));
    ASSERT_TRUE(mediatest::writeFile(path("inner.asx"), "<asx><entry><ref href=\"one.wav\"/></entry></asx>"));
    ASSERT_TRUE(mediatest::writeFile(path("list.ASX"),
                                     "<ASX version=\"3.0\">\n<Entry><REF HREF=\"broken.wav\"></Entry>\n"
                                     "<entry><ref href='one.wav'/></entry><entry><ref href=\"missing.wav\"/></entry>\n"
                                     "<entryref href=\"inner.asx\"/><entry><ref href=\"inner.asx\"/></entry>\n"
                                     "<entry><ref href=\"http://example.invalid/a.wav\"/></entry>\n"
                                     "<entry><Ref Href=sub\\two.wav></entry>"));
    ASSERT_TRUE(mediatest::writeFile(path("none.wax"), "<asx><entry><ref href=\"broken.wav\"/></entry>"));
    MediaPlayer &p = player();
    p.setFileName(path("list.ASX"));
    EXPECT_EQ(p.PlayState(), MediaPlayer::Playing);
    // The status line names the entry passed over, and is read as it says.
    QLabel *status = nullptr;
    for (QLabel *l : p.findChildren<QLabel *>())
        if (l->text().startsWith(QStringLiteral("再生中")))
            status = l;
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("(再生できません: ") + path("broken.wav") + QLatin1Char(')')))
        << status->text().toStdString();
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(status);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), status->text());
    const qint64 took = untilEnd(p);
    EXPECT_GT(took, 450) << "both entries, one after the other";
    EXPECT_TRUE(ended_.isEmpty());
    // Play again starts from the first entry.
    p.Play();
    EXPECT_GT(untilEnd(p), 450);
    EXPECT_THROW(p.setFileName(path("none.wax")), RuntimeError);
}

TEST_F(MediaPlayerTest, SeveralControlsPlayAtOnce)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 300));
    ASSERT_TRUE(mediatest::writeMidi(path("m.mid"), 300));
    MediaPlayer &a = player();
    MediaPlayer &b = player();
    a.setFileName(path("a.wav"));
    b.setFileName(path("m.mid"));
    EXPECT_EQ(a.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(b.PlayState(), MediaPlayer::Playing);
    // Either may end first (the other's open can take longer than a clip).
    EXPECT_GE(untilEnd(a), 0);
    EXPECT_GE(untilEnd(b), 0);
    a.Stop();
    EXPECT_EQ(a.PlayState(), MediaPlayer::Stopped);
}

TEST_F(MediaPlayerTest, DesignShowsItsPartsAsRealControls)
{
    ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 300));
    MediaPlayer &full = player();
    MediaPlayerDesign mini;
    mini.showPositionControls = false;
    mini.showAudioControls = false;
    mini.showStatusBar = false;
    MediaPlayer &small = player(mini);
    host_.Show();
    auto shown = [](MediaPlayer &p, const char *name) {
        for (QWidget *w : p.findChildren<QWidget *>())
            if (w->accessibleName() == QString::fromUtf8(name) || w->accessibleDescription() == QString::fromUtf8(name))
                return w->isVisible();
        return false;
    };
    for (const char *name : {"再生", "一時停止", "停止", "巻き戻し", "早送り", "再生位置", "消音", "音量", "状態"})
        EXPECT_TRUE(shown(full, name)) << name;
    for (const char *name : {"再生", "停止", "再生位置"})
        EXPECT_TRUE(shown(small, name)) << name;
    for (const char *name : {"巻き戻し", "消音", "音量", "状態"})
        EXPECT_FALSE(shown(small, name)) << name;
    EXPECT_EQ(small.Volume(), 0);
    // The buttons act as the methods.
    full.setFileName(path("a.wav"));
    auto button = [&full](const char *name) {
        for (QAbstractButton *b : full.findChildren<QAbstractButton *>())
            if (b->accessibleName() == QString::fromUtf8(name))
                return b;
        return static_cast<QAbstractButton *>(nullptr);
    };
    button("一時停止")->click();
    EXPECT_EQ(full.PlayState(), MediaPlayer::Paused);
    button("再生")->click();
    EXPECT_EQ(full.PlayState(), MediaPlayer::Playing);
    button("停止")->click();
    EXPECT_EQ(full.PlayState(), MediaPlayer::Stopped);
    host_.Hide();
}

// ---- playlist reader ----

class PlaylistTest : public ::testing::Test {
protected:
    QString file(const QString &name)
    {
        const QString p = dir_.filePath(name);
        QDir().mkpath(QFileInfo(p).absolutePath());
        mediatest::writeFile(p, "x");
        return p;
    }
    QTemporaryDir dir_;
};

TEST_F(PlaylistTest, ReferencesResolveInAnyCaseEncodingAndQuoting)
{
    const QString a = file(QStringLiteral("a.wav"));
    const QString b = file(QStringLiteral("曲/b.mp3"));
    const QString c = file(QStringLiteral("c & d.mid"));
    const QString folder = dir_.path();
    const QByteArray text = "<!-- <ref href=\"a.wav\"> --><ASX><ENTRY><REF HREF = \"a.wav\" /></ENTRY>"
                            "<entry><ref href=\"file://" + folder.toUtf8() + "/a.wav\"></entry>"
                            "<entry><ref href='c &amp; d.mid'></entry><entry><ref href=\"C:\\a.wav\"></entry>";
    EXPECT_EQ(media::parsePlaylist(text, folder), (QStringList{a, a, c}));
    EXPECT_EQ(media::parsePlaylist("<asx><ref href=\"曲\\b.mp3\"></asx>", folder), QStringList{b});
    EXPECT_EQ(media::parsePlaylist("<asx><ref href=\"" + cp932(QStringLiteral("曲")) + "/b.mp3\"></asx>", folder),
              QStringList{b});
    EXPECT_TRUE(media::isPlaylistName(QStringLiteral("/x/list.ASX")));
    EXPECT_TRUE(media::isPlaylistName(QStringLiteral("/x/list.wax")));
    EXPECT_TRUE(media::isPlaylistName(QStringLiteral("/x/oldwax")));
    EXPECT_FALSE(media::isPlaylistName(QStringLiteral("/x/a.wav")));
    EXPECT_TRUE(media::readPlaylist(dir_.filePath(QStringLiteral("none.asx"))).isEmpty());
}

TEST_F(PlaylistTest, BrokenInputNeverReadsOutOfBoundsOrHangs)
{
    file(QStringLiteral("a.wav"));
    const QByteArray cases[] = {
        "", "<", "<ref", "<ref href", "<ref href=", "<ref href=\"a.wav", "<ref href='", "&#", "<!--",
        "<ref href=\"&#99999999999;&#x110000;&bogus;a.wav\">", QByteArray(70000, '<'),
        QByteArray("<ref href=\"") + QByteArray(200000, 'a') + "\">", QByteArray("\xff\xfe<\x00r\x00", 6),
        QByteArray("\x81\x82\x83\xfc\xfd\xfe<ref href=\"a.wav\">"), QByteArray("\0<ref href=\"a.wav\">", 19),
    };
    for (const QByteArray &bytes : cases)
        media::parsePlaylist(bytes, dir_.path());
    EXPECT_EQ(media::parsePlaylist(cases[13], dir_.path()).size(), 1);
    QByteArray noise;
    quint32 seed = 7;
    for (int round = 0; round < 200; ++round) {
        noise.resize(round * 13);
        for (char &c : noise) {
            seed = seed * 1103515245 + 12345;
            c = "<>\"'=&; refhREFa.wv\\/#x9\x81\xff"[(seed >> 16) % 26];
        }
        media::parsePlaylist(noise, dir_.path());
        media::rmidMidiData("RIFF\0\0\0\0RMID" + noise);
    }
}

// A list that is a FIFO is refused at once, never waited on.
TEST_F(PlaylistTest, ListsThatAreNoRegularFileAreRefusedAtOnce)
{
    const QString fifo = dir_.filePath(QStringLiteral("list.ram"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString asx = dir_.filePath(QStringLiteral("list.asx"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(asx).constData(), 0600), 0);
    std::atomic<bool> done{false};
    std::thread reader([&] {
        EXPECT_TRUE(media::readRamList(fifo).isEmpty());
        EXPECT_TRUE(media::readPlaylist(asx).isEmpty());
        std::unique_ptr<QTemporaryFile> holder;
        EXPECT_TRUE(media::playablePath(fifo, holder).isEmpty()) << "a FIFO is not handed to the engine";
        done = true;
    });
    const bool inTime = vxtest::waitUntil([&] { return done.load(); });
    // Let a reader held by a FIFO go before failing.
    vxtest::waitUntil([&] {
        for (const QString &f : {fifo, asx})
            ::close(::open(QFile::encodeName(f).constData(), O_RDWR | O_NONBLOCK));
        return done.load();
    });
    reader.join();
    EXPECT_TRUE(inTime) << "a reader waited on a FIFO";
}

TEST_F(PlaylistTest, RiffMidiDataIsFoundOrRefused)
{
    QByteArray rmi("RIFF\0\0\0\0RMID", 12);
    rmi += QByteArray("junk\x03\0\0\0abc\0", 12);
    rmi += QByteArray("data\x04\0\0\0MThd", 12);
    EXPECT_EQ(media::rmidMidiData(rmi), QByteArray("MThd"));
    EXPECT_TRUE(media::rmidMidiData(rmi.left(22)).isEmpty());
    EXPECT_TRUE(media::rmidMidiData(QByteArray("RIFF\0\0\0\0WAVE", 12)).isEmpty());
    QByteArray huge("RIFF\0\0\0\0RMIDdata\xff\xff\xff\xff", 20);
    EXPECT_TRUE(media::rmidMidiData(huge).isEmpty());
    QByteArray skip("RIFF\0\0\0\0RMIDjunk\xf0\xff\xff\xff", 20);
    EXPECT_TRUE(media::rmidMidiData(skip).isEmpty());
}

// ---- MIDI ports ----

class FixedPorts : public MidiPortList {
public:
    explicit FixedPorts(QStringList n) : names(std::move(n)) {}
    QStringList outputPorts() override { return names; }
    QStringList names;
};

TEST(MidiPorts, NamesAreCutAndThePortCommandTakesOnlyListedPorts)
{
    setMidiPortList(std::make_unique<FixedPorts>(
        QStringList{QStringLiteral("Midi Through Port-0"), QStringLiteral("A synthesizer with a very long name indeed")}));
    EXPECT_EQ(midiOutGetNumDevs(), 2);
    EXPECT_EQ(midiOutGetDevName(1), QStringLiteral("A synthesizer with a very long "));
    EXPECT_EQ(midiOutGetDevName(1).size(), 31);
    EXPECT_EQ(midiOutGetDevName(2), QString());
    EXPECT_EQ(midiOutGetDevName(-1), QString());
    setMediaCommandDriver(makeMediaCommandInterpreter());
    EXPECT_EQ(mciSendString(QStringLiteral("set Midi port 1")), mci::NoError);
    EXPECT_EQ(midiOutputPort(), 1);
    EXPECT_EQ(mciSendString(QStringLiteral("set Midi port 2")), mci::DeviceFailed);
    EXPECT_EQ(mciSendString(QStringLiteral("set Midi port -1")), mci::DeviceFailed);
    EXPECT_EQ(mciSendString(QStringLiteral("set Midi port x")), mci::BadArguments);
    EXPECT_EQ(mciSendString(QStringLiteral("set Midi")), mci::BadArguments);
    EXPECT_EQ(midiOutputPort(), 1);
    setMidiPortList(std::make_unique<FixedPorts>(QStringList{}));
    EXPECT_EQ(mciSendString(QStringLiteral("set Midi port 0")), mci::DeviceFailed);
    setMidiPortList(nullptr);
    setMediaCommandDriver(nullptr);
}

TEST(MidiPorts, AlsaWithoutASequencerListsNothing)
{
    EXPECT_TRUE(makeAlsaMidiPortList(QStringLiteral("no-such-sequencer"))->outputPorts().isEmpty());
    // The real default sequencer, whatever this machine has: never the System client's ports.
    const QStringList ports = makeAlsaMidiPortList()->outputPorts();
    EXPECT_FALSE(ports.contains(QStringLiteral("Timer")));
    EXPECT_FALSE(ports.contains(QStringLiteral("Announce")));
}

} // namespace
