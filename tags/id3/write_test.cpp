#include "fixture_test.h"

#include "platform/core/errors.h"

#include <QFileInfo>

#include <csignal>
#include <functional>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ID3Module;
using namespace id3test;

namespace {

class WriteTest : public Files {};

ID3v2TagRecord v2(int major, int encoding = 0, bool unsync = false)
{
    ID3v2TagRecord r;
    r.MajorVersion = static_cast<quint8>(major);
    r.Encoding = static_cast<quint8>(encoding);
    r.Unsynchronisation = unsync;
    return r;
}

TEST_F(WriteTest, PayloadsFramesAndTagLayout)
{
    EXPECT_EQ(BuildTextPayload(0, QStringLiteral("ab")), QByteArray("\0ab\0", 4));
    EXPECT_EQ(BuildTextPayload(1, QStringLiteral("aあ")), bytes({1, 0xFF, 0xFE, 'a', 0, 0x42, 0x30, 0, 0}));
    EXPECT_EQ(BuildCommentPayload(0, QStringLiteral("d\r\n"), QStringLiteral("a\r\nb")),
              QByteArray("\0jpnd\r\n\0a\nb", 11));
    EXPECT_EQ(BuildCommentPayload(1, QStringLiteral("d"), QStringLiteral("e")),
              bytes({1, 'j', 'p', 'n', 0xFF, 0xFE, 'd', 0, 0, 0, 0xFF, 0xFE, 'e', 0}));
    EXPECT_TRUE(BuildTextPayload(2, QStringLiteral("x")).isEmpty());

    // Every text empty: the header alone; a year 0 only when there is a year text.
    EXPECT_EQ(BuildID3v2Tag(v2(3)), tagV2(3, 0, QByteArray()));
    ID3v2TagRecord zero = v2(2);
    zero.YearText = QStringLiteral("0");
    EXPECT_EQ(BuildID3v2Tag(zero), tagV2(2, 0, frame22("TYE", latin("0000") + QByteArray(1, '\0'))));
    EXPECT_EQ(BuildCommentPayload(0, QString(), QStringLiteral("c"), "eng"), QByteArray("\0eng\0c", 6));

    ID3v2TagRecord r = v2(3);
    r.Year = 1999;
    r.Title = QString(300 - 10 - 10 - 6 - 2, QLatin1Char('t'));
    const QByteArray tag = BuildID3v2Tag(r);
    EXPECT_EQ(tag.mid(6, 4), bytes({0, 0, 2, 0x2C}));
    EXPECT_EQ(tag.mid(10, 4), QByteArray("TIT2"));
    r.CommentBody = QStringLiteral("c");
    r.Album = QStringLiteral("a");
    const QByteArray ordered = BuildID3v2Tag(r);
    EXPECT_LT(ordered.indexOf("TALB"), ordered.indexOf("TIT2"));
    EXPECT_LT(ordered.indexOf("TYER"), ordered.indexOf("COMM"));
}

TEST_F(WriteTest, UnsynchronisationInsertsZerosAndEndsAfterAFinalFF)
{
    QByteArray out;
    EXPECT_EQ(WriteFrameSize(0xFFE3, 4, out, true, 'X'), 0xE3);
    EXPECT_EQ(out, bytes({0, 0, 0xFF, 0, 0xE3}));
    ID3v2TagRecord r = v2(3, 0, true);
    r.Title = QString::fromLatin1("\xFF\xE3\xFF\x41");
    r.Performer = QString::fromLatin1("\xFF");
    // CP932 cannot hold U+00FF: go through UTF-16, whose units hold FF pairs.
    EXPECT_THROW(BuildID3v2Tag(r), vx::RuntimeError);
    r.Encoding = 1;
    r.Title = QString(QChar(0xE3FF)) + QChar(0x00FF);
    r.Performer.clear();
    r.CommentBody = QString(QChar(0xFF41)) + QChar(0xFFFF);
    QByteArray tag = BuildID3v2Tag(r);
    // Title units FF E3 FF 00, then the terminator 00 00.
    EXPECT_NE(tag.indexOf(bytes({0xFF, 0x00, 0xE3, 0xFF, 0x00, 0x00, 0x00, 0x00})), -1);
    EXPECT_NE(tag.indexOf(bytes({'p', 'n', 0xFF, 0x00, 0xFE, 0, 0})), -1);
    EXPECT_EQ(tag.right(9), bytes({0xFF, 0x00, 0xFE, 0x41, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00}).right(9))
        << "a last FF is followed by 00";
    EXPECT_EQ(tag[5], '\x80');
    const ID3v2TagRecord back = ReadID3v2Tag(put("u.mp3", tag + mpegFrames(1)));
    EXPECT_EQ(back.Title, r.Title);
    EXPECT_EQ(back.CommentBody, r.CommentBody);
}

TEST_F(WriteTest, ID3v1BlockFieldsLimitsAndCodePage)
{
    ID3v1TagRecord r;
    r.Title = QStringLiteral("あ") + QString(29, QLatin1Char('x')); // 31 bytes: the whole あ or none
    r.Comment = QString(30, QLatin1Char('c'));
    r.Track = 12;
    r.Genre = 17;
    QByteArray b = BuildID3v1Block(r, true);
    EXPECT_EQ(b.size(), 128);
    EXPECT_EQ(b.mid(3, 30), ToCodePage(QStringLiteral("あ") + QString(28, QLatin1Char('x'))));
    EXPECT_EQ(b.mid(93, 4), QByteArray("0000"));
    EXPECT_EQ(b.mid(97, 28), QByteArray(28, 'c'));
    EXPECT_EQ(b[125], '\0');
    EXPECT_EQ(b[126], '\x0C');
    EXPECT_EQ(b[127], '\x11');
    b = BuildID3v1Block(r, false);
    EXPECT_EQ(b.mid(97, 30), QByteArray(30, 'c'));
    r.Track = 300;
    EXPECT_THROW(BuildID3v1Block(r, true), vx::RuntimeError);
    r.Track = 1;
    r.Artist = QStringLiteral("Ωmega ☃");
    const QString p = put("a.mp3", mpegFrames(2));
    try {
        WriteID3v1Tag(p, p, false, KindNone, r, 1);
        ADD_FAILURE() << "no error";
    } catch (const vx::RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("Ωmega ☃")));
    }
    EXPECT_EQ(content(p), mpegFrames(2)) << "nothing written";
    EXPECT_EQ(names(), QStringList{QStringLiteral("a.mp3")});
}

TEST_F(WriteTest, ID3v1InPlaceKeepsOneBlockAndTheID3v2TagBeforeTheAudio)
{
    const QByteArray audio = mpegFrames(3);
    ID3v1TagRecord r;
    r.Title = QStringLiteral("New");
    const QByteArray block = BuildID3v1Block(r, false);

    QString p = put("v1.mp3", audio + v1Block("Old", "", 1, 2));
    WriteID3v1Tag(p, p, false, KindV11, r, 1);
    EXPECT_EQ(content(p), audio + block);

    p = put("none.mp3", audio);
    WriteID3v1Tag(p, p, false, KindNone, r, 1);
    EXPECT_EQ(content(p), audio + block);

    const QByteArray tag = tagV2(3, 0, frame23("TIT2", latin("x")));
    for (bool trailing : {false, true}) {
        p = put("v2.mp3", tag + audio + (trailing ? v1Block("Old", "", 1, 2) : QByteArray()));
        WriteID3v1Tag(p, p, false, KindV23, r, tag.size() + 1);
        EXPECT_EQ(content(p), tag + audio + block) << trailing;
    }
    // A later version's tag loaded as "no tag" stays too.
    const QByteArray v24 = tagV2(4, 0, frame23("TIT2", latin("x")));
    p = put("v24.mp3", v24 + audio);
    WriteID3v1Tag(p, p, false, KindNone, r, tag.size() + 1);
    EXPECT_EQ(content(p), v24 + audio + block);
    // A file claimed to hold a block that is not there keeps all its audio.
    p = put("gone.mp3", audio);
    WriteID3v1Tag(p, p, false, KindV1, r, 1);
    EXPECT_EQ(content(p), audio + block);
    EXPECT_EQ(names().size(), 5) << names().join(QLatin1Char(' ')).toStdString();
}

TEST_F(WriteTest, ID3v2KeepsTheID3v1BlockRemovalDropsBothAndTheAudioStartIsReturned)
{
    const QByteArray audio = mpegFrames(3);
    const QByteArray old = tagV2(3, 0, frame23("TIT2", latin("old")));
    ID3v2TagRecord r = v2(2);
    r.Title = QStringLiteral("T");
    QString p = put("s.mp3", old + audio + v1Block("x", "", 0, 0));
    const qint64 start = WriteID3v2Tag(p, p, r, old.size() + 1);
    const QByteArray tag = BuildID3v2Tag(r);
    EXPECT_EQ(content(p), tag + audio + v1Block("x", "", 0, 0));
    EXPECT_EQ(start, ReadID3v2Tag(p).TagSize + 11);

    RemoveTag(p, p, start);
    EXPECT_EQ(content(p), audio);
    // A file that is only a 128-byte block is audio as far as the copy knows.
    p = put("only.mp3", v1Block("x", "", 0, 0));
    RemoveTag(path("copy.mp3"), p, 1);
    EXPECT_EQ(content(path("copy.mp3")), content(p));
    // One byte of audio is audio too.
    p = put("one.mp3", old + "A");
    RemoveTag(p, p, old.size() + 1);
    EXPECT_EQ(content(p), QByteArray("A"));
}

TEST_F(WriteTest, BackupNamesComeFromTheFileName)
{
    EXPECT_EQ(MakeBackupName(path("song.mp3")), path("song_old.mp3"));
    put("song_old.mp3", "x");
    EXPECT_EQ(MakeBackupName(path("song.mp3")), path("song_old1.mp3"));
    put("song_old1.mp3", "x");
    EXPECT_EQ(MakeBackupName(path("song.mp3")), path("song_old2.mp3"));
    EXPECT_EQ(MakeBackupName(QStringLiteral("/m/a.b/song")), QStringLiteral("/m/a.b/song_old"));
    EXPECT_EQ(MakeBackupName(QStringLiteral("/m/a.b/x.tar.mp3")), QStringLiteral("/m/a.b/x.tar_old.mp3"));
}

TEST_F(WriteTest, SavesKeepPermissionsReplaceOtherFilesAndFindTheSameFile)
{
    const QByteArray audio = mpegFrames(2);
    ID3v2TagRecord r = v2(3);
    r.Title = QStringLiteral("T");
    const QString p = put("perm.mp3", audio);
    ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0640), 0);
    const qint64 start = WriteID3v2Tag(p, p, r, 1);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Another spelling of the same file, and a link to it: saved in place.
    const QString dotted = QFileInfo(p).path() + QStringLiteral("/./") + QStringLiteral("perm.mp3");
    RemoveTag(dotted, p, start);
    EXPECT_EQ(content(p), audio);
    ASSERT_EQ(::symlink(QFile::encodeName(p).constData(), QFile::encodeName(path("link.mp3")).constData()), 0);
    WriteID3v2Tag(path("link.mp3"), p, r, 1);
    EXPECT_EQ(content(p), BuildID3v2Tag(r) + audio);
    EXPECT_TRUE(QFileInfo(path("link.mp3")).isSymLink());

    // Save as onto an existing file replaces it with the tag and the audio.
    const QString other = put("other.mp3", QByteArray(5000, 'z'));
    ID3v1TagRecord v1;
    WriteID3v1Tag(other, p, true, KindV23, v1, start);
    EXPECT_EQ(content(other), BuildID3v2Tag(r) + audio + BuildID3v1Block(v1, true));
    EXPECT_EQ(content(p), BuildID3v2Tag(r) + audio);
    EXPECT_EQ(names().size(), 3);
}

TEST_F(WriteTest, AFailedRewriteLeavesTheOriginalAndNoBackup)
{
    const QByteArray old = tagV2(3, 0, frame23("TIT2", latin("x"))) + mpegFrames(30);
    const QString p = put("full.mp3", old);
    // A disk that fills up half-way: writes past the limit fail with EFBIG.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    ID3v1TagRecord v1;
    EXPECT_THROW(WriteID3v2Tag(p, p, v2(3), 1), vx::RuntimeError);
    EXPECT_THROW(WriteID3v1Tag(p, p, false, KindV23, v1, 20), vx::RuntimeError);
    EXPECT_THROW(RemoveTag(path("other.mp3"), p, 20), vx::RuntimeError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(content(p), old);
    EXPECT_EQ(names(), QStringList{QStringLiteral("full.mp3")});
    EXPECT_THROW(WriteID3v2Tag(p, path("missing.mp3"), v2(3), 1), vx::RuntimeError);
    EXPECT_THROW(WriteID3v2Tag(path("no/such/dir.mp3"), p, v2(3), 1), vx::RuntimeError);
    EXPECT_EQ(names(), QStringList{QStringLiteral("full.mp3")});
}

TEST_F(WriteTest, AnAudioStartPastTheEndIsRefusedAndChangesNothing)
{
    const QByteArray old = QByteArray("ID3\x03\0\0", 6) + syncsafe(1 << 20) + frame23("TIT2", latin("x")) +
                           QByteArray(3000, 'z');
    const QString p = put("damaged.mp3", old);
    const qint64 claimed = (1 << 20) + 11;
    ID3v1TagRecord v1;
    const QString other = path("other.mp3");
    const std::function<void()> saves[] = {
        [&] { WriteID3v2Tag(p, p, v2(3), claimed); },
        [&] { WriteID3v1Tag(p, p, true, KindV23, v1, claimed); },
        [&] { RemoveTag(p, p, claimed); },
        [&] { WriteID3v2Tag(other, p, v2(2), claimed); },
    };
    for (const auto &save : saves) {
        try {
            save();
            ADD_FAILURE() << "saved";
        } catch (const vx::RuntimeError &e) {
            EXPECT_TRUE(e.description().contains(QStringLiteral("音声データ"))) << qPrintable(e.description());
        }
    }
    EXPECT_EQ(content(p), old);
    EXPECT_EQ(names(), QStringList{QStringLiteral("damaged.mp3")});
    // One past the end is a tag with no audio behind it.
    const QByteArray tagOnly = tagV2(3, 0, frame23("TIT2", latin("x")));
    const QString t = put("tag.mp3", tagOnly);
    RemoveTag(t, t, tagOnly.size() + 1);
    EXPECT_EQ(content(t), QByteArray());
}

// "TAG" 128 bytes before the end of a tiny file stands inside the ID3v2 tag:
// no save takes it for an ID3v1 block, and the audio stays.
TEST_F(WriteTest, TagBytesInsideTheID3v2TagAreNoID3v1Block)
{
    const QByteArray audio = bytes({0xFF, 0xFB, 0x90, 0x44}) + QByteArray(40, '\0');
    QByteArray tag = tagV2(3, 0, frame23("TXXX", latin("x") + QByteArray(200, 'p')));
    const qsizetype at = tag.size() + audio.size() - 128;
    ASSERT_TRUE(at > 30 && at + 3 < tag.size());
    tag.replace(at, 3, "TAG");
    const QByteArray old = tag + audio;
    const qint64 start = tag.size() + 1;
    ID3v2TagRecord r = v2(3);
    r.Title = QStringLiteral("T");
    ID3v1TagRecord v1;
    struct Case {
        const char *name;
        std::function<void(const QString &)> save;
        QByteArray expected;
    };
    const Case cases[] = {
        {"ID3v2", [&](const QString &p) { WriteID3v2Tag(p, p, r, start); },
         tagV2(3, 0, framesOf(tag).at(0) + frame23("TIT2", latin("T") + QByteArray(1, '\0'))) + audio},
        {"ID3v1", [&](const QString &p) { WriteID3v1Tag(p, p, false, KindV23, v1, start); },
         old + BuildID3v1Block(v1, false)},
        {"no tag", [&](const QString &p) { RemoveTag(p, p, start); }, audio},
    };
    for (const Case &c : cases) {
        const QString p = put("tiny.mp3", old);
        EXPECT_TRUE(ReadID3v1Bytes(p, start).isEmpty()) << c.name;
        c.save(p);
        EXPECT_EQ(content(p), c.expected) << c.name;
    }
}

// A random tag, one field edited: every other frame reads back byte for byte
// and in its place; the edited one holds the new value where the old stood.
TEST_F(WriteTest, RandomTagsKeepEveryFrameButTheEditedOne)
{
    std::mt19937 rng(20261210);
    const auto random = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const char *const ids[2][17] = {
        {"TT2", "TP1", "TAL", "TCO", "TRK", "TYE", "COM", "PIC", "ULT", "TCM", "TPA", "TBP", "TXX", "TT1", "TP2", "TT3",
         "XYZ"},
        {"TIT2", "TPE1", "TALB", "TCON", "TRCK", "TYER", "COMM", "APIC", "USLT", "TCOM", "TPOS", "TBPM", "TXXX", "TIT1",
         "TPE2", "TIT3", "PRIV"}};
    // The editor's fields: the frame index in `ids` (TALB, TCON, TIT1, TIT2, TIT3, TPE1, TPE2, TRCK, TYER, COMM).
    const int fields[] = {2, 3, 13, 0, 15, 1, 14, 4, 5, 6};
    const QByteArray audio = mpegFrames(2);
    for (int round = 0; round < 300; ++round) {
        const int major = 2 + random(2);
        const bool v23 = major == 3;
        const bool unsync = random(2);
        QList<QByteArray> frames;
        for (int n = 1 + random(8); n > 0; --n) {
            const char *id = ids[major - 2][random(17)];
            QByteArray payload(1, static_cast<char>(random(2)));
            for (int k = random(30); k > 0; --k)
                payload.append(static_cast<char>(random(4) == 0 ? 0xFF : random(256)));
            const int flags = v23 && random(5) == 0 ? 0x80 : 0; // compressed: nobody here reads it
            frames.append(v23 ? frame23(id, flags ? be32(99) + payload : payload, flags) : frame22(id, payload));
        }
        const QByteArray body = frames.join();
        const QByteArray tag = tagV2(major, unsync ? 0x80 : 0, unsync ? unsynced(body) : body);
        const QString p = put("r.mp3", tag + audio);
        const ID3v2TagRecord shown = ReadID3v2Tag(p);
        ID3v2TagRecord edited = shown;
        edited.Encoding = static_cast<quint8>(random(2));
        const int field = fields[random(10)];
        const QString value = QStringLiteral("新%1").arg(round);
        QString ID3v2TagRecord::*texts[] = {&ID3v2TagRecord::Title, &ID3v2TagRecord::Performer, &ID3v2TagRecord::Album,
                                            &ID3v2TagRecord::Genre, &ID3v2TagRecord::Track};
        if (field == 5) {
            edited.Year = static_cast<qint16>(1000 + round);
            edited.YearText = QString::number(edited.Year);
        } else if (field == 6) {
            edited.CommentBody = value;
            edited.Encoding = 1; // the description as read may have no CP932 form
        } else if (field <= 4) {
            edited.*texts[field] = value;
        } else {
            (field == 13 ? edited.Series : field == 14 ? edited.Band : edited.Subtitle) = value;
        }
        WriteID3v2Tag(p, p, edited, tag.size() + 1, &shown);

        const QByteArray id(ids[major - 2][field]);
        qsizetype last = -1;
        for (qsizetype i = 0; i < frames.size(); ++i)
            if (frames[i].startsWith(id))
                last = i;
        const QList<QByteArray> after = framesOf(content(p));
        const std::string what = "round " + std::to_string(round);
        ASSERT_EQ(after.size(), frames.size() + (last < 0 ? 1 : 0)) << what;
        const qsizetype at = last < 0 ? frames.size() : last;
        for (qsizetype i = 0; i < frames.size(); ++i) {
            if (i != at) {
                EXPECT_EQ(after[i], frames[i]) << what << " frame " << i;
            }
        }
        const int head = v23 ? 10 : 6;
        EXPECT_TRUE(after[at].startsWith(id)) << what;
        EXPECT_EQ(after[at][head], char(edited.Encoding)) << what;
        if (field == 6 && last >= 0 && !(v23 && frames[last][9])) {
            EXPECT_EQ(after[at].mid(head + 1, 3), frames[last].mid(head + 1, 3)) << what << ": the language stays";
        }
        const ID3v2TagRecord back = ReadID3v2Tag(p);
        EXPECT_EQ(back.Year, edited.Year) << what;
        EXPECT_EQ(back.CommentBody, edited.CommentBody) << what;
        EXPECT_EQ(back.Title, edited.Title) << what;
        EXPECT_EQ(back.Subtitle, edited.Subtitle) << what;
        EXPECT_EQ(back.Track, edited.Track) << what;
        EXPECT_EQ(content(p).at(5), tag.at(5)) << what;
        EXPECT_TRUE(content(p).endsWith(audio)) << what;
    }
}

// Behind an extended header (with or without a CRC) the frames are found and
// kept; the header itself is not written again (its CRC would be wrong).
TEST_F(WriteTest, FramesBehindAnExtendedHeaderAreKept)
{
    const QByteArray artist = frame23("TPE1", wide(QStringLiteral("山田太郎")));
    const QByteArray frames = artist + frame23("TIT2", latin("old"));
    const QByteArray audio = mpegFrames(2);
    for (bool crc : {false, true}) {
        const QByteArray ext = crc ? be32(10) + bytes({0x80, 0}) + be32(0) + be32(0x12345678) : be32(6) + bytes({0, 0}) + be32(0);
        const QString p = put("ext.mp3", tagV2(3, 0x40, ext + frames) + audio);
        const ID3v2TagRecord shown = ReadID3v2Tag(p);
        ID3v2TagRecord edited = shown;
        edited.Title = QStringLiteral("new");
        WriteID3v2Tag(p, p, edited, shown.TagSize + 11, &shown);
        EXPECT_EQ(content(p), tagV2(3, 0, artist + frame23("TIT2", latin("new") + QByteArray(1, '\0'))) + audio) << crc;
    }
}

} // namespace
