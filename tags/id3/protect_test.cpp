// What the user owns stays as it is: a writable file is saved wherever it lies
// (in place where a new file cannot take its name), anything else is refused
// before it is touched, hostile names answer at once, and the leftovers of
// interrupted saves go at the next save of that file only.
#include "fileio.h"
#include "fixture_test.h"

#include "platform/core/errors.h"
#include "testing/capabilities.h"
#include "testing/smalldisk.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <functional>
#include <iostream>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ID3Module;
using namespace id3test;

namespace {

class ProtectTest : public Files {};

struct Attempt {
    int number = 0;
    QString description;
};

Attempt attempt(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const vx::RuntimeError &e) {
        return {e.number(), e.description()};
    }
    return {};
}

// Every save the editor can make, in place or onto `target`.
std::vector<std::pair<const char *, std::function<void()>>> saves(const QString &target, const QString &source,
                                                                   qint64 start)
{
    ID3v2TagRecord v2;
    v2.MajorVersion = 3;
    v2.Title = QStringLiteral("new");
    ID3v1TagRecord v1;
    v1.Title = QStringLiteral("new");
    return {{"v2.3", [=] { WriteID3v2Tag(target, source, v2, start); }},
            {"v1.1", [=] { WriteID3v1Tag(target, source, true, KindV23, v1, start); }},
            {"none", [=] { RemoveTag(target, source, start); }}};
}

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << qPrintable(path);
    return st;
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The first `n` bytes of a file.
QByteArray head(const QString &path, qint64 n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray("<missing>");
}

// Where the song lies and what the user did to it.
enum class Place {
    Plain,        // one name, in a folder the user may write
    HardLinked,   // a second name in another folder
    SealedFolder, // in a folder the user may not write
    Protected,    // the file itself write-protected
};

// Root writes anywhere: the test runs again without the powers that let it.
TEST_F(ProtectTest, AWritableFileIsSavedWhereverItLiesAndAFailureLeavesItWholeSayingWhy)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    // 256 KB with 8 KB left: room for a side file's name, not for the song.
    vxtest::SmallDisk disk(256 * 1024);
    const QByteArray tag = tagV2(3, 0, frame23("TIT2", latin("old")) + frame23("TCOM", latin("kept")));
    const QByteArray audio = mpegFrames(40);
    const QByteArray block = v1Block("old", "", 1, 1);
    const QByteArray old = tag + audio + block;
    const qint64 start = tag.size() + 1;
    ID3v2TagRecord v2;
    v2.MajorVersion = 3;
    v2.Title = QStringLiteral("new");
    v2.CommentBody = QString(16 * 1024, QLatin1Char('c')); // the tag grows past what the full disk has
    ID3v1TagRecord v1;
    v1.Title = QStringLiteral("new");
    const QByteArray newBlock = BuildID3v1Block(v1, true);
    const QString full = QStringLiteral("ディスクの空き容量が不足しています。");
    const QString tooLarge = QStringLiteral("大きすぎて元の内容を控えておけません");
    const struct {
        const char *what;
        Place place;
        bool onFullDisk;
        bool huge;     // larger than the old content the save may hold in memory
        int number;    // 0: saved
        QString reason;
    } cases[] = {
        {"one name", Place::Plain, false, false, 0, {}},
        {"hard-linked", Place::HardLinked, false, false, 0, {}},
        {"in a folder that takes no new file", Place::SealedFolder, false, false, 0, {}},
        {"write-protected", Place::Protected, false, false, vx::err::PermissionDenied,
         QStringLiteral("書き込みが許可されていません。")},
        {"too large to hold, folder that takes no new file", Place::SealedFolder, false, true,
         vx::err::PathFileAccess, tooLarge},
        {"full disk, one name", Place::Plain, true, false, vx::err::DiskFull, full},
        {"full disk, hard-linked", Place::HardLinked, true, false, vx::err::DiskFull, full},
        {"full disk, folder that takes no new file", Place::SealedFolder, true, false, vx::err::DiskFull, full},
    };
    for (const auto &c : cases) {
        if (c.onFullDisk && !disk.ok()) {
            std::cerr << "skipped, no small file system to fill: " << disk.why().toStdString() << "\n";
            continue;
        }
        // What each save makes of the song; on a full disk only the save that grows it.
        const std::vector<std::tuple<const char *, std::function<void(const QString &)>, QByteArray>> steps = {
            {"v2.3", [&](const QString &p) { WriteID3v2Tag(p, p, v2, start); }, QByteArray()},
            {"v1.1", [&](const QString &p) { WriteID3v1Tag(p, p, true, KindV23, v1, start); }, tag + audio + newBlock},
            {"none", [&](const QString &p) { RemoveTag(p, p, start); }, audio},
        };
        for (const auto &[kind, save, expected] : steps) {
            if (c.onFullDisk && QByteArray(kind) != "v2.3")
                continue;
            SCOPED_TRACE(std::string(c.what) + ", " + kind);
            QTemporaryDir tmp;
            const QString root = c.onFullDisk ? disk.path() + QStringLiteral("/case") : tmp.path();
            QDir(root).removeRecursively();
            const QString folder = root + QStringLiteral("/album");
            ASSERT_TRUE(QDir().mkpath(folder));
            ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/other")));
            const QString p = folder + QStringLiteral("/song.mp3");
            const QString twin = root + QStringLiteral("/other/track01.mp3");
            QFile f(p);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
            if (c.huge) {
                ASSERT_TRUE(f.resize(io::kMaxHeldBytes + 1)); // sparse: costs no disk
            }
            f.close();
            if (c.place == Place::HardLinked) {
                ASSERT_EQ(::link(QFile::encodeName(p).constData(), QFile::encodeName(twin).constData()), 0);
            }
            ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), c.place == Place::Protected ? 0444 : 0640), 0);
            const struct stat before = statOf(p);
            if (c.place == Place::SealedFolder) {
                ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
            }
            if (c.onFullDisk) {
                ASSERT_TRUE(disk.leaveFree(8 * 1024));
            }

            const Attempt a = attempt([&] { save(p); });
            ::chmod(QFile::encodeName(folder).constData(), 0755);
            EXPECT_EQ(a.number, c.number) << qPrintable(a.description);
            const struct stat after = statOf(p);
            EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
            EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("song.mp3")}) << "no side file left";
            if (c.number != 0) {
                EXPECT_TRUE(a.description.contains(p) && a.description.contains(c.reason)) << qPrintable(a.description);
                EXPECT_EQ(after.st_ino, before.st_ino);
                EXPECT_EQ(after.st_size, before.st_size);
                EXPECT_EQ(head(p, old.size()), old);
                continue;
            }
            const QByteArray now = content(p);
            if (expected.isEmpty()) {
                EXPECT_TRUE(now.startsWith("ID3") && now.endsWith(audio + block)) << "the audio and ID3v1 block stay";
                EXPECT_EQ(ReadID3v2Tag(p).Title, QStringLiteral("new"));
                EXPECT_NE(now.indexOf(frame23("TCOM", latin("kept"))), -1) << "a frame the user did not touch stays";
            } else {
                EXPECT_EQ(now, expected);
            }
            if (c.place != Place::Plain) {
                EXPECT_EQ(after.st_ino, before.st_ino) << "rewritten in place";
            }
            if (c.place == Place::HardLinked) {
                EXPECT_EQ(content(twin), now) << "every name shows the new content";
                EXPECT_EQ(filesIn(root + QStringLiteral("/other")), QStringList{QStringLiteral("track01.mp3")});
            }
        }
    }
}

TEST_F(ProtectTest, HostileNamesAnswerAtOnceWithAnError)
{
    const QString fifo = path("fifo.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = path("zero.mp3");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString folder = path("folder.mp3");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString sparse = path("sparse.mp3");
    {
        QFile f(sparse);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("ID3\x03\0\0", 6) + syncsafe(0x0FFFFFFF));
        ASSERT_TRUE(f.resize(qint64(4) << 30));
    }
    const QString good = put("good.mp3", mpegFrames(2));
    for (const QString &p : {fifo, zero, folder, sparse}) {
        QElapsedTimer timer;
        timer.start();
        std::vector<std::pair<const char *, std::function<void()>>> calls = {
            {"detect", [&] { DetectTagType(p); }},
            {"v1", [&] { ReadID3v1Tag(p); }},
            {"v2", [&] { ReadID3v2Tag(p); }},
        };
        for (auto &s : saves(p, p, 1))
            calls.push_back(s);
        for (auto &s : saves(good, p, 1))
            calls.push_back(s);
        for (const auto &[name, call] : calls)
            EXPECT_EQ(attempt(call).number, vx::err::PathFileAccess) << qPrintable(p) << " " << name;
        EXPECT_LT(timer.elapsed(), 2000) << qPrintable(p);
    }
    EXPECT_EQ(content(good), mpegFrames(2));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(sparse).size(), qint64(4) << 30);
}

qint64 peakKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

TEST_F(ProtectTest, ATagClaimingHundredsOfMegabytesCostsAtMostItsCap)
{
    const QString p = path("claims.mp3");
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tagV2(3, 0, frame23("TIT2", latin("first"))).left(10 + 10 + 7));
        f.seek(6);
        f.write(syncsafe(0x0FFFFFFF)); // 256 MB
        ASSERT_TRUE(f.resize(qint64(300) << 20));
    }
    const qint64 before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    const ID3v2TagRecord r = ReadID3v2Tag(p);
    EXPECT_EQ(r.Title, QStringLiteral("first"));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_LT(peakKiB() - before, 100 * 1024) << "KiB";
}

// Sets a file's modification time an hour back: made before this process.
void age(const QString &path)
{
    struct timeval tv[2];
    ::gettimeofday(&tv[0], nullptr);
    tv[0].tv_sec -= 3600;
    tv[1] = tv[0];
    ASSERT_EQ(::lutimes(QFile::encodeName(path).constData(), tv), 0) << qPrintable(path);
}

TEST_F(ProtectTest, LeftoversOfInterruptedSavesGoAtTheNextSaveOfThatFileOnly)
{
    const QByteArray old = mpegFrames(3);
    const QString p = put("song.mp3", old);
    const QString stale = put(".song.mp3.vxtag-1k2j3", "half");
    const QString young = put(".song.mp3.vxtag-young", "in progress");
    const QString held = put(".song.mp3.vxtag-held", "in progress");
    const QString users = put("song_old1.mp3", "the user's own");
    const QString neighbours = put(".other.mp3.vxtag-abc", "half");
    const QString link = path("song_old.mp3");
    ASSERT_EQ(::link(QFile::encodeName(p).constData(), QFile::encodeName(link).constData()), 0);
    for (const QString &f : {p, stale, held, users, neighbours})
        age(f);
    const int lock = ::open(QFile::encodeName(held).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);

    // Reading removes nothing.
    DetectTagType(p);
    EXPECT_EQ(names().size(), 7);

    ID3v1TagRecord r;
    r.Title = QStringLiteral("new");
    WriteID3v1Tag(p, p, false, KindNone, r, 1);
    EXPECT_EQ(content(p), old + BuildID3v1Block(r, false));
    EXPECT_EQ(content(link), QByteArray("<missing>"));
    EXPECT_EQ(content(stale), QByteArray("<missing>"));
    for (const QString &f : {young, held, users, neighbours})
        EXPECT_TRUE(QFile::exists(f)) << qPrintable(f);
    ::close(lock);
}

QString repeated(const QString &s, int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// A save of `path` killed while it wrote the new content: what a crash leaves.
void leaveTemporaryOf(const QString &path)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            vx::StreamedContent half;
            half.size = 4;
            half.write = [](int, vx::SaveSink &out) {
                out.write("half", 4);
                ::_exit(0); // no destructors: the temporary file stays
                return true;
            };
            io::save(path, half);
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(ProtectTest, NamesOfTheLongestLengthSaveAndTheirLeftoversGoAtTheNextSave)
{
    const QString book = QStringLiteral("本");
    const QStringList longest = {
        QStringLiteral("ab") + repeated(book, 83) + QStringLiteral(".mp3"), // 255 bytes
        repeated(book, 85),                                                 // 255 bytes, no extension
        repeated(book, 80) + QStringLiteral(".mp3"),
        QStringLiteral("a.") + repeated(book, 84),                          // an extension of 252 bytes
    };
    const QByteArray tag = tagV2(3, 0, frame23("TIT2", latin("old")));
    const QByteArray audio = mpegFrames(3);
    for (const QString &name : longest) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_LE(QFile::encodeName(name).size(), 255);
        const QString p = path(name);
        for (const auto &[kind, save] : saves(p, p, tag.size() + 1)) {
            put(name, tag + audio + v1Block("old", "", 1, 1));
            const Attempt a = attempt(save);
            EXPECT_EQ(a.number, 0) << kind << " " << qPrintable(a.description);
            EXPECT_EQ(names(), QStringList{name});
        }
        EXPECT_EQ(content(p), audio) << "the tags are gone, the audio stays";

        // A backup name stays a name, and a taken one gives another.
        const QString backup = MakeBackupName(p);
        const QString file = QFileInfo(backup).fileName();
        EXPECT_LE(QFile::encodeName(file).size(), 255);
        EXPECT_TRUE(file.contains(QStringLiteral("_old")));
        EXPECT_EQ(QFileInfo(backup).path(), QFileInfo(p).path());
        if (name.endsWith(QStringLiteral(".mp3"))) {
            EXPECT_TRUE(file.endsWith(QStringLiteral("_old.mp3")));
        }
        put(file, "the user's own");
        const QString next = QFileInfo(MakeBackupName(p)).fileName();
        EXPECT_NE(next, file);
        EXPECT_LE(QFile::encodeName(next).size(), 255);
        QFile::remove(backup);

        // What a killed save left, and a backup link of the file, go at the next save.
        leaveTemporaryOf(p);
        ASSERT_EQ(::link(QFile::encodeName(p).constData(), QFile::encodeName(backup).constData()), 0);
        ASSERT_EQ(names().size(), 3);
        for (const QString &n : names())
            age(path(n));
        RemoveTag(p, p, 1);
        EXPECT_EQ(names(), QStringList{name});
        QFile::remove(p);
    }
}

TEST_F(ProtectTest, WhatTheSystemRefusesIsSaidInJapanese)
{
    const QString tooLong = path(QString(256, QLatin1Char('x')));
    const QString good = put("good.mp3", mpegFrames(2));
    std::vector<std::pair<const char *, std::function<void()>>> calls = {
        {"detect", [&] { DetectTagType(tooLong); }},
        {"v2", [&] { ReadID3v2Tag(tooLong); }},
    };
    for (auto &s : saves(tooLong, good, 1))
        calls.push_back(s);
    for (const auto &[name, call] : calls) {
        const Attempt a = attempt(call);
        EXPECT_NE(a.number, 0) << name;
        EXPECT_TRUE(a.description.contains(QStringLiteral("長すぎます"))) << name << qPrintable(a.description);
        EXPECT_FALSE(a.description.contains(QStringLiteral("too long"), Qt::CaseInsensitive)) << name;
    }
    EXPECT_EQ(names(), QStringList{QStringLiteral("good.mp3")});
    EXPECT_EQ(content(good), mpegFrames(2));
}

} // namespace
