#include "fixture_test.h"

#include "platform/core/errors.h"

#include <QFileInfo>

#include <csignal>
#include <functional>

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

} // namespace
