#include "fixture_test.h"

#include "platform/core/errors.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

using namespace ID3Module;
using namespace id3test;

namespace {

class ReadTest : public Files {};

QByteArray utf16(const QString &s, bool little)
{
    QByteArray out;
    for (QChar c : s) {
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        const char hi = static_cast<char>(c.unicode() >> 8);
        out.append(little ? lo : hi);
        out.append(little ? hi : lo);
    }
    return out;
}

TEST_F(ReadTest, DetectionPrefersID3v2AndNeedsAWholeTrailer)
{
    const QByteArray audio = mpegFrames(3);
    EXPECT_EQ(DetectTagType(put("both.mp3", tagV2(3, 0, frame23("TIT2", latin("x"))) + audio +
                                                 v1Block("t", "", 0, 1))), KindV22);
    EXPECT_EQ(DetectTagType(put("short.mp3", QByteArray(127, 'a'))), KindNone);
    EXPECT_EQ(DetectTagType(put("tag128.mp3", v1Block("t", "", 0, 1))), KindV1);
    EXPECT_EQ(DetectTagType(put("lower.mp3", "id3" + audio)), KindNone);
    EXPECT_EQ(DetectTagType(put("none.mp3", audio)), KindNone);
    EXPECT_EQ(DetectTagType(put("empty.mp3", QByteArray())), KindNone);
    try {
        DetectTagType(path("missing.mp3"));
        ADD_FAILURE() << "no error";
    } catch (const vx::RuntimeError &e) {
        EXPECT_EQ(e.number(), vx::err::FileNotFound);
    }
}

TEST_F(ReadTest, ID3v1TrackRuleGenreYearAndCodePage)
{
    const QByteArray audio = mpegFrames(2);
    struct Case {
        QByteArray comment;
        int track;
        qint16 v11;
        qint16 expectTrack;
    };
    const Case cases[] = {
        {QByteArray(28, 'c'), 7, 1, 7}, {QByteArray(28, 'c'), 0, 1, 0}, {QByteArray(29, 'c'), -1, 0, 0},
        {QByteArray(30, 'c'), -1, 0, 0}, {QByteArray(), 0, 1, 0},
    };
    for (const Case &c : cases) {
        const QString p = put("v1.mp3", audio + v1Block("Song", c.comment, c.track, 255));
        const ID3v1TagRecord r = ReadID3v1Tag(p);
        EXPECT_EQ(r.IsV11, c.v11) << c.comment.size();
        EXPECT_EQ(r.Track, c.expectTrack) << c.comment.size();
        EXPECT_EQ(r.Comment, QString::fromLatin1(c.comment.left(30)));
        EXPECT_EQ(r.Genre, 255);
        EXPECT_EQ(r.Title, QStringLiteral("Song"));
        EXPECT_EQ(r.Year, 2001);
    }
    const QByteArray sjis = ToCodePage(QStringLiteral("夜明け～"));
    EXPECT_EQ(sjis.size(), 8);
    const ID3v1TagRecord r = ReadID3v1Tag(put("ja.mp3", v1Block(sjis, "", 0, 0, " 98x")));
    EXPECT_EQ(r.Title, QStringLiteral("夜明け～"));
    EXPECT_EQ(r.Year, 98);
    // Bytes that are no CP932 text are what the format names: ISO-8859-1.
    EXPECT_EQ(ReadID3v1Tag(put("l1.mp3", v1Block("Caf\xE9", "", 0, 0))).Title, QStringLiteral("Café"));
}

TEST_F(ReadTest, ID3v23HeaderExtendedHeaderAndFrames)
{
    const QByteArray frames = frame23("TIT2", latin("Title")) + frame23("TRCK", latin("3/12")) +
                              frame23("TYER", latin("1999")) + frame23("APIC", QByteArray(50, '\x01')) +
                              frame23("COMM", QByteArray("\0eng", 4) + "desc" + QByteArray(1, '\0') + "body") +
                              frame23("TIT2", latin("Later"));
    // Six-byte extended header without a CRC: frames start at position 21.
    const QByteArray ext = be32(6) + bytes({0, 0}) + be32(0);
    ID3v2TagRecord r = ReadID3v2Tag(put("ext.mp3", tagV2(3, 0x40, ext + frames) + mpegFrames(2)));
    EXPECT_EQ(r.MajorVersion, 3);
    EXPECT_TRUE(r.ExtendedHeader);
    EXPECT_FALSE(r.CrcPresent);
    EXPECT_EQ(r.Title, QStringLiteral("Later"));
    EXPECT_EQ(r.Track, QStringLiteral("3/12"));
    EXPECT_EQ(r.Year, 1999);
    EXPECT_EQ(r.CommentDescription, QStringLiteral("desc"));
    EXPECT_EQ(r.CommentBody, QStringLiteral("body"));
    EXPECT_EQ(r.TagSize, ext.size() + frames.size());

    const QByteArray extCrc = be32(10) + bytes({0x80, 0}) + be32(0) + be32(0xDEADBEEF);
    r = ReadID3v2Tag(put("crc.mp3", tagV2(3, 0xE0, extCrc + frame23("TALB", latin("Alb")))));
    EXPECT_TRUE(r.CrcPresent);
    EXPECT_TRUE(r.Experimental);
    EXPECT_TRUE(r.Unsynchronisation);
    EXPECT_EQ(r.Crc, 0xDEADBEEFu);
    EXPECT_EQ(r.Album, QStringLiteral("Alb"));

    // No supported frames; a compressed frame's stored bytes after its 4-byte size.
    r = ReadID3v2Tag(put("other.mp3", tagV2(3, 0, frame23("TXXX", latin("x")))));
    EXPECT_TRUE(r.Title.isEmpty());
    EXPECT_EQ(r.Year, 0);
    r = ReadID3v2Tag(put("zip.mp3", tagV2(3, 0, frame23("TPE1", be32(99) + latin("Packed"), 0x80))));
    EXPECT_EQ(r.Performer, QStringLiteral("Packed"));
    // Padding ends the frames.
    r = ReadID3v2Tag(put("pad.mp3", tagV2(3, 0, frame23("TPE2", latin("Band")) + QByteArray(64, '\0'))));
    EXPECT_EQ(r.Band, QStringLiteral("Band"));
}

TEST_F(ReadTest, ID3v22LayoutAndLaterVersionsKeepOnlyTheirHeader)
{
    const QByteArray frames = frame22("TT1", latin("Series")) + frame22("TP3", latin("Cond")) +
                              frame22("TYE", latin("2002")) + frame22("COM", QByteArray("\0jpn\0text", 9));
    ID3v2TagRecord r = ReadID3v2Tag(put("v22.mp3", tagV2(2, 0, frames)));
    EXPECT_EQ(r.Series, QStringLiteral("Series"));
    EXPECT_EQ(r.Conductor, QStringLiteral("Cond"));
    EXPECT_EQ(r.Year, 2002);
    EXPECT_EQ(r.CommentBody, QStringLiteral("text"));
    r = ReadID3v2Tag(put("v24.mp3", tagV2(4, 0x40, frame23("TIT2", latin("New")))));
    EXPECT_EQ(r.MajorVersion, 4);
    EXPECT_TRUE(r.ExtendedHeader);
    EXPECT_EQ(r.TagSize, 14);
    EXPECT_TRUE(r.Title.isEmpty());
}

TEST_F(ReadTest, UnsynchronisedSizesAndPayloadsCountRemovedZeros)
{
    // Size 0x000000FF written FF 00, payload "A" FF 00 E3 "B".
    const QByteArray payload = QByteArray(1, '\0') + "A" + bytes({0xFF, 0xE3}) + QByteArray(251, 'b');
    QByteArray stuffed = payload;
    stuffed.insert(3, '\0');
    const QByteArray body = "TIT2" + bytes({0, 0, 0, 0xFF, 0x00, 0, 0}) + stuffed;
    const ID3v2TagRecord r = ReadID3v2Tag(put("unsync.mp3", tagV2(3, 0x80, body)));
    ASSERT_EQ(r.Title.size(), 254);
    EXPECT_EQ(r.Title.left(1), QStringLiteral("A"));
}

TEST_F(ReadTest, UTF16HonoursItsByteOrderMarkAndReadsMislabelledLittleEndian)
{
    const QString ja = QStringLiteral("あいうえお・カタカナ漢字");
    const QString ascii = QStringLiteral("Hello World");
    const QString digits = QStringLiteral("000");
    const QString spaced = QStringLiteral("あ　い");
    struct Case {
        QByteArray mark;
        bool little;
        QString text;
    };
    const Case cases[] = {
        {bytes({0xFF, 0xFE}), true, ja},  {bytes({0xFE, 0xFF}), false, ja},  {bytes({0xFE, 0xFF}), true, ja},
        {bytes({0xFF, 0xFE}), true, ascii}, {bytes({0xFE, 0xFF}), false, ascii}, {bytes({0xFE, 0xFF}), true, ascii},
        {QByteArray(), true, ascii}, {bytes({0xFE, 0xFF}), true, digits}, {bytes({0xFE, 0xFF}), false, spaced},
        {bytes({0xFE, 0xFF}), false, digits}, {bytes({0xFF, 0xFE}), true, spaced},
    };
    for (const Case &c : cases) {
        const QByteArray text = bytes({1}) + c.mark + utf16(c.text, c.little) + bytes({0, 0});
        const QByteArray comm = bytes({1}) + "jpn" + c.mark + utf16(QStringLiteral("説明"), c.little) +
                                bytes({0, 0}) + c.mark + utf16(c.text, c.little);
        const ID3v2TagRecord r =
            ReadID3v2Tag(put("u.mp3", tagV2(3, 0, frame23("TIT2", text) + frame23("COMM", comm))));
        EXPECT_EQ(r.Title, c.text) << c.mark.toHex().constData() << c.little;
        EXPECT_EQ(r.CommentDescription, QStringLiteral("説明"));
        EXPECT_EQ(r.CommentBody, c.text);
    }
    // Big-endian text that is big-endian stays so.
    const QString ko = QStringLiteral("한국어");
    const ID3v2TagRecord r = ReadID3v2Tag(
        put("ko.mp3", tagV2(3, 0, frame23("TIT2", bytes({1, 0xFE, 0xFF}) + utf16(ko, false)))));
    EXPECT_EQ(r.Title, ko);
}

TEST_F(ReadTest, DamagedTagsEndReadingInsideTheTag)
{
    const QByteArray audio = mpegFrames(2);
    // Frame size far past the tag: the payload is clipped to what is left.
    ID3v2TagRecord r = ReadID3v2Tag(put("big.mp3", tagV2(3, 0, "TIT2" + be32(0x7FFFFFF0) + bytes({0, 0}) +
                                                                  latin("Cut")) + audio));
    EXPECT_EQ(r.Title, QStringLiteral("Cut"));
    r = ReadID3v2Tag(put("neg.mp3", tagV2(3, 0, "TIT2" + be32(0xFFFFFFFF) + bytes({0, 0}) + latin("N")) + audio));
    EXPECT_EQ(r.Title, QStringLiteral("N"));
    // Flags that take more than the size: a negative size ends the loop.
    r = ReadID3v2Tag(put("flags.mp3", tagV2(3, 0, "TIT2" + be32(2) + bytes({0, 0xE0}) + QByteArray(20, 'x') +
                                                      frame23("TALB", latin("After")))));
    EXPECT_TRUE(r.Album.isEmpty());
    // A tag claiming more than the file holds.
    QByteArray truncated = tagV2(3, 0, frame23("TIT2", latin("Whole")) + frame23("TALB", latin("Half")));
    truncated[9] = 0x7F;
    truncated.chop(2);
    r = ReadID3v2Tag(put("trunc.mp3", truncated));
    EXPECT_EQ(r.Title, QStringLiteral("Whole"));
    EXPECT_EQ(r.Album, QStringLiteral("Ha"));
    // A year that does not fit 16 bits reads as 0.
    r = ReadID3v2Tag(put("year.mp3", tagV2(3, 0, frame23("TYER", latin("99999")))));
    EXPECT_EQ(r.Year, 0);
    EXPECT_NO_THROW(ReadID3v2Tag(put("tiny.mp3", "ID3")));
    EXPECT_NO_THROW(ReadID3v1Tag(put("tinyv1.mp3", "TAG")));
}

TEST_F(ReadTest, RandomDamageNeverReadsOutsideTheTag)
{
    const QByteArray good = tagV2(3, 0x80, frame23("TIT2", bytes({1, 0xFF, 0xFE, 'a', 0, 0xFF, 0x00, 0, 0})) +
                                            frame23("COMM", QByteArray("\0jpn\0c", 6), 0xE0) +
                                            frame23("TYER", latin("2000")));
    QRandomGenerator rng(1234);
    for (int i = 0; i < 800; ++i) {
        QByteArray data = good;
        const int edits = 1 + int(rng.bounded(6));
        for (int e = 0; e < edits; ++e)
            data[int(rng.bounded(data.size()))] = static_cast<char>(rng.bounded(256));
        if (i % 5 == 0)
            data[5] = static_cast<char>(rng.bounded(2) ? 0x80 : 0x40);
        data[3] = static_cast<char>(i % 2 ? 3 : 2);
        if (i % 3 == 0)
            data.truncate(int(rng.bounded(data.size())) + 1);
        const QString p = put("fuzz.mp3", data);
        ASSERT_NO_THROW(ReadID3v2Tag(p)) << i;
    }
}

TEST_F(ReadTest, CodePageTextCutInsideItsLastCharacterKeepsItsWholeCharacters)
{
    const QString kana = QString(14, QChar(0x3042)); // あ: 82 A0
    const QByteArray cut = "a" + ToCodePage(kana) + "\x82";  // 30 bytes, the last a lone first byte
    ASSERT_EQ(cut.size(), 30);
    const QByteArray kanjiCut = ToCodePage(QStringLiteral("夜明け")) + "\xE9"; // E9 begins 漁 and more
    const ID3v1TagRecord r = ReadID3v1Tag(put("cut.mp3", mpegFrames(2) + v1Block(cut, kanjiCut, -1, 0)));
    EXPECT_EQ(r.Title, QStringLiteral("a") + kana);
    EXPECT_EQ(r.Comment, QStringLiteral("夜明け"));
    EXPECT_EQ(ToCodePage(r.Title).size(), 29) << "what is shown can be saved";
    // A lone byte that is a control code in ISO-8859-1 is no text in either.
    EXPECT_EQ(FromCodePage(QByteArray(29, 'x') + "\x8C"), QString(29, QLatin1Char('x')));
    // Beside plain letters, E9 is é; a broken character inside the text is no cut.
    EXPECT_EQ(FromCodePage("Caf\xE9"), QStringLiteral("Café"));
    EXPECT_EQ(FromCodePage("\x82\xA0\x82"), QStringLiteral("あ"));
    EXPECT_EQ(FromCodePage("\xE9t\xE9"), QStringLiteral("été"));
    // The same in an ID3v2 text frame.
    const QString p = put("v2cut.mp3", tagV2(3, 0, frame23("TIT2", QByteArray(1, '\0') + cut)) + mpegFrames(1));
    EXPECT_EQ(ReadID3v2Tag(p).Title, QStringLiteral("a") + kana);
}

TEST_F(ReadTest, TheAudioStartsBehindTheTagOrBehindTheFramesOfAnOversizedOne)
{
    const QByteArray audio = mpegFrames(3);
    const QByteArray frames = frame23("TIT2", latin("Title")) + frame23("TPE1", latin("P"));
    const auto claiming = [](int major, quint32 size, const QByteArray &body) {
        return QByteArray("ID3", 3) + bytes({major, 0, 0}) + syncsafe(size) + body;
    };
    struct Case {
        const char *what;
        QByteArray file;
        qint64 start;
    };
    const QByteArray tag = tagV2(3, 0, frames + QByteArray(100, '\0'));
    const QByteArray v22 = frame22("TT2", latin("Title"));
    const Case cases[] = {
        {"sound", tag + audio, tag.size() + 1},
        {"tag only", tag, tag.size() + 1},
        {"past the end, padding", claiming(3, 1 << 20, frames + QByteArray(64, '\0')) + audio, 10 + frames.size() + 64 + 1},
        {"past the end, no padding", claiming(3, 1 << 20, frames) + audio, 10 + frames.size() + 1},
        {"ID3v2.2 past the end", claiming(2, 1 << 20, v22 + QByteArray(9, '\0')) + audio, 10 + v22.size() + 9 + 1},
        {"AAC behind", claiming(3, 1 << 20, frames) + bytes({0xFF, 0xF1, 0x50, 0x80}) + QByteArray(200, 'a'),
         10 + frames.size() + 1},
        {"no audio behind", claiming(3, 1 << 20, frames + QByteArray(4, '\0')) + QByteArray(3000, 'z'), 0},
        {"cut inside a frame", claiming(3, 1 << 20, frames.left(frames.size() - 3)), 0},
        {"padding to the end", claiming(3, 1 << 20, frames + QByteArray(500, '\0')), 0},
        {"ID3v2.4", claiming(4, 40, QByteArray(40, '\0')) + audio, 51},
        {"ID3v2.4 with footer", claiming(4, 40, QByteArray(40, '\0')).replace(5, 1, "\x10") + "3DI" +
                                    QByteArray(7, '\0') + audio, 61},
        {"ID3v2.4 past the end", claiming(4, 1 << 20, QByteArray(40, '\0')) + audio, 0},
    };
    for (const Case &c : cases) {
        ID3v2Extent e;
        e.AudioStart = -1;
        const ID3v2TagRecord r = ReadID3v2Tag(put("a.mp3", c.file), &e);
        EXPECT_EQ(e.AudioStart, c.start) << c.what;
        EXPECT_EQ(e.Whole, c.start > 0 || r.MajorVersion >= 4) << c.what;
        if (r.MajorVersion == 3 && c.start > 0) {
            EXPECT_EQ(r.Title, QStringLiteral("Title")) << c.what;
        }
    }
    // Inside the file, a frame that runs past the tag or bytes that are no
    // frame leave it read in part.
    const QByteArray overrun = tagV2(3, 0, frames + "TPE2" + be32(900) + bytes({0, 0}) + "xy");
    const QByteArray stray = tagV2(3, 0, frames + "x!y?" + QByteArray(40, '\0'));
    for (const QByteArray &t : {overrun, stray}) {
        ID3v2Extent e;
        const ID3v2TagRecord r = ReadID3v2Tag(put("part.mp3", t + audio), &e);
        EXPECT_FALSE(e.Whole) << (t == stray);
        EXPECT_EQ(e.AudioStart, t.size() + 1);
        EXPECT_EQ(r.Title, QStringLiteral("Title"));
    }
}

// The rule ReadFileBytes keeps, byte by byte: a byte outside the buffer (or
// any once the buffer ran out) ends it, its position consumed; FF 00 is FF.
QByteArray bytewise(const TagBuffer &file, qint64 &pos, qint64 count, bool unsync, qint64 limit)
{
    QByteArray out;
    if (count <= 0)
        return out;
    while (out.size() < count && pos <= limit) {
        const int b = file.at(pos++);
        if (file.pastEnd)
            break;
        out.append(static_cast<char>(b));
        if (unsync && b == 0xFF && pos <= limit && file.at(pos) == 0x00 && !file.pastEnd)
            ++pos;
    }
    file.pastEnd = file.pastEnd || out.size() < count;
    return out;
}

TEST_F(ReadTest, BytesAreTakenAsTheByteWiseRuleTakesThem)
{
    QRandomGenerator rng(7);
    for (int i = 0; i < 20000; ++i) {
        TagBuffer a;
        a.base = rng.bounded(1, 6);
        for (int n = int(rng.bounded(12)); n > 0; --n)
            a.data.append(rng.bounded(3) ? char(0xFF) : char(rng.bounded(2)));
        a.pastEnd = rng.bounded(5) == 0;
        TagBuffer b = a;
        qint64 posA = rng.bounded(0, 18);
        qint64 posB = posA;
        const qint64 count = rng.bounded(-1, 10);
        const bool unsync = rng.bounded(2) != 0;
        const qint64 limit = rng.bounded(0, 20);
        EXPECT_EQ(ReadFileBytes(a, posA, count, unsync, limit), bytewise(b, posB, count, unsync, limit)) << i;
        EXPECT_EQ(posA, posB) << i;
        EXPECT_EQ(a.pastEnd, b.pastEnd) << i;
    }
}

// ---- the reads that follow a detection ----

// Waits until the clock that stamps changes has passed the file's last
// change, as it has for any file not written this very moment.
void settle(const QString &p)
{
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
    struct timespec now {};
    do {
        std::this_thread::yield();
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    } while (now.tv_sec < st.st_ctim.tv_sec || (now.tv_sec == st.st_ctim.tv_sec && now.tv_nsec <= st.st_ctim.tv_nsec));
}

// The read calls this process has made (each look adds one after it).
qint64 readCalls()
{
    const int fd = ::open("/proc/self/io", O_RDONLY | O_CLOEXEC);
    char buf[1024] = {};
    const ssize_t n = fd < 0 ? -1 : ::read(fd, buf, sizeof buf - 1);
    if (fd >= 0)
        ::close(fd);
    const char *at = n > 0 ? std::strstr(buf, "syscr:") : nullptr;
    return at ? std::atoll(at + 6) : -1;
}

// Where change times move with every change (the reads keep no bytes elsewhere).
bool exactTimes(const QString &dir)
{
    struct statfs fs {};
    if (::statfs(QFile::encodeName(dir).constData(), &fs) != 0)
        return false;
    const auto type = static_cast<unsigned long>(fs.f_type);
    return type == EXT4_SUPER_MAGIC || type == TMPFS_MAGIC || type == XFS_SUPER_MAGIC || type == BTRFS_SUPER_MAGIC;
}

QString describe(const QString &p)
{
    QString out;
    try {
        ID3v2Extent e;
        const ID3v2TagRecord r = ReadID3v2Tag(p, &e);
        out = QStringList{QString::number(r.MajorVersion), QString::number(r.TagSize), QString::number(r.Crc),
                          QString::number(r.Unsynchronisation + 2 * r.ExtendedHeader + 4 * r.CrcPresent),
                          r.Series, r.Title, r.Subtitle, r.Performer, r.Band, r.Conductor, r.Remixer, r.Album,
                          QString::number(r.Year), r.YearText, r.CommentDescription, r.CommentBody, r.Track,
                          r.Genre, QString::number(e.AudioStart), QString::number(e.Whole)}
                  .join(u'|');
        const ID3v1TagRecord v1 = ReadID3v1Tag(p);
        out += QStringList{QString::number(v1.IsV11), v1.Title, v1.Artist, v1.Album, QString::number(v1.Year),
                           v1.Comment, QString::number(v1.Track), QString::number(v1.Genre),
                           QString::number(HasID3v1Block(p))}
                   .join(u'|');
    } catch (const vx::RuntimeError &e) {
        out = QStringLiteral("error %1").arg(e.number());
    }
    return out;
}

TEST_F(ReadTest, ReadsRightAfterADetectionGetWhatReadsAloneGet)
{
    if (!exactTimes(path(QString())))
        GTEST_SKIP() << "the temporary folder keeps no exact change times";
    const QByteArray audio = mpegFrames(12); // 5 kB: more than a detection reads
    const QByteArray v1 = v1Block("Title", "Comment", 3, 12);
    const QByteArray big = tagV2(3, 0, frame23("TALB", latin("A")) + frame23("TIT2", QByteArray(6000, 't')));
    QList<QByteArray> files = {
        tagV2(3, 0, frame23("TIT2", latin("Plain"))) + audio,
        tagV2(3, 0, frame23("TIT2", latin("Small"))) + mpegFrames(1) + v1,
        big + audio + v1,
        tagV2(2, 0, frame22("TT2", latin("Short"))),
        audio + v1,
        mpegFrames(1) + v1,
        v1,
        v1.left(127),
        "ID3",
        QByteArray(),
    };
    const QByteArray good = tagV2(3, 0x40, be32(6) + bytes({0x80, 0}) + be32(0) + be32(0x1234) +
                                               frame23("TIT2", bytes({1, 0xFF, 0xFE, 'a', 0, 0xFF, 0})) +
                                               frame23("COMM", QByteArray("\0jpn\0c", 6), 0xE0) +
                                               frame23("TYER", latin("2000")) + QByteArray(20, '\0'));
    QRandomGenerator rng(99);
    for (int i = 0; i < 150; ++i) {
        QByteArray data = good;
        for (int e = 0; e < 1 + int(rng.bounded(4)); ++e)
            data[int(rng.bounded(data.size()))] = static_cast<char>(rng.bounded(256));
        data[3] = static_cast<char>(2 + i % 3);
        if (i % 4 == 0)
            data[5] = static_cast<char>(data[5] | 0x80);
        files.append(i % 3 == 0 ? data.left(int(rng.bounded(data.size())) + 1) : data + audio);
    }
    QStringList paths;
    for (int i = 0; i < files.size(); ++i)
        paths.append(put(QStringLiteral("%1.mp3").arg(i), files[i]));
    const QString other = put(QStringLiteral("other.mp3"), audio);
    settle(other);
    for (int i = 0; i < paths.size(); ++i) {
        DetectTagType(other);
        const QString alone = describe(paths[i]);
        DetectTagType(paths[i]);
        EXPECT_EQ(describe(paths[i]), alone) << i;
    }
}

TEST_F(ReadTest, AFileChangedAfterItsDetectionIsReadAsItIsNow)
{
    if (!exactTimes(path(QString())))
        GTEST_SKIP() << "the temporary folder keeps no exact change times";
    const QByteArray audio = mpegFrames(12); // 5 kB: more than a detection reads
    const auto v2 = [&](const char *title) { return tagV2(3, 0, frame23("TIT2", latin(title))) + audio; };
    const auto v1 = [&](const char *title) { return audio + v1Block(title, "", 1, 0); };
    const auto times = [](const QString &p) {
        struct stat st {};
        ::stat(QFile::encodeName(p).constData(), &st);
        return std::pair{st.st_atim, st.st_mtim};
    };
    const auto putBack = [](const QString &p, std::pair<timespec, timespec> t) {
        const timespec both[2] = {t.first, t.second};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), both, 0), 0);
    };
    // Same size, same times: only the change time tells.
    const auto rewrite = [&](const QString &p, const QByteArray &data) {
        const auto t = times(p);
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write(data);
        f.close();
        putBack(p, t);
    };
    struct Case {
        const char *what;
        bool tagV1;
        std::function<void(const QString &)> change;
        QString title; // empty: the error
        int error;
    };
    const Case cases[] = {
        {"unchanged", false, [](const QString &) {}, QStringLiteral("Old"), 0},
        {"rewritten in place, its times put back", false, [&](const QString &p) { rewrite(p, v2("New")); },
         QStringLiteral("New"), 0},
        {"ID3v1 block rewritten in place", true, [&](const QString &p) { rewrite(p, v1("New")); },
         QStringLiteral("New"), 0},
        {"replaced by a file of the same size and times", false,
         [&](const QString &p) {
             const QString n = put(QStringLiteral("new.mp3"), v2("New"));
             putBack(n, times(p));
             ASSERT_EQ(::rename(QFile::encodeName(n).constData(), QFile::encodeName(p).constData()), 0);
         },
         QStringLiteral("New"), 0},
        {"replaced by a FIFO", false,
         [](const QString &p) {
             ASSERT_TRUE(QFile::remove(p));
             ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);
         },
         QString(), vx::err::PathFileAccess},
        {"removed", true, [](const QString &p) { ASSERT_TRUE(QFile::remove(p)); }, QString(), vx::err::FileNotFound},
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString p = put(QStringLiteral("c%1.mp3").arg(n++), c.tagV1 ? v1("Old") : v2("Old"));
        settle(p);
        const qint64 before = readCalls();
        EXPECT_EQ(DetectTagType(p), c.tagV1 ? KindV1 : KindV22) << c.what;
        // The look reads the start of the file, and the end when no ID3v2 tag begins it.
        EXPECT_EQ(readCalls() - before, c.tagV1 ? 3 : 2) << c.what;
        c.change(p);
        QElapsedTimer timer;
        timer.start();
        const qint64 reading = readCalls();
        try {
            EXPECT_EQ(c.tagV1 ? ReadID3v1Tag(p).Title : ReadID3v2Tag(p).Title, c.title) << c.what;
        } catch (const vx::RuntimeError &e) {
            EXPECT_EQ(e.number(), c.error) << c.what;
        }
        if (c.title == QStringLiteral("Old")) {
            EXPECT_EQ(readCalls() - reading, 1) << "the tag of an unchanged file is read by the detection";
        }
        EXPECT_LT(timer.elapsed(), 2000) << c.what;
    }
}

} // namespace
