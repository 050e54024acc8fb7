// What the user owns stays as it is: write-protected and hard-linked files are
// refused before anything is written, hostile names answer at once, and the
// leftovers of interrupted saves go at the next save of that file only.
#include "fileio.h"
#include "fixture_test.h"

#include "platform/core/errors.h"
#include "testing/capabilities.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <functional>

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

ino_t inode(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
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

TEST_F(ProtectTest, AWriteProtectedFileIsThePermissionErrorAndStaysAsItWas)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const QByteArray tag = tagV2(3, 0, frame23("TIT2", latin("old")));
    const QByteArray old = tag + mpegFrames(4);
    const QString p = put("song.mp3", old);
    const QString other = put("other.mp3", "other");
    for (const QString &f : {p, other})
        ASSERT_TRUE(QFile::setPermissions(f, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const ino_t was = inode(p);
    for (const QString &target : {p, other}) {
        for (const auto &[name, save] : saves(target, p, tag.size() + 1)) {
            const Attempt a = attempt(save);
            EXPECT_EQ(a.number, vx::err::PermissionDenied) << name;
            EXPECT_TRUE(a.description.startsWith(vx::errorText(vx::err::PermissionDenied)) &&
                        a.description.contains(target))
                << qPrintable(a.description);
        }
    }
    EXPECT_EQ(content(p), old);
    EXPECT_EQ(content(other), QByteArray("other"));
    EXPECT_EQ(inode(p), was);
    EXPECT_EQ(names(), QStringList({QStringLiteral("other.mp3"), QStringLiteral("song.mp3")}));
    // Reading needs no writing.
    EXPECT_EQ(ReadID3v2Tag(p).Title, QStringLiteral("old"));
}

TEST_F(ProtectTest, AHardLinkedFileIsRefusedSayingWhyAndEveryNameKeepsOneContent)
{
    const QByteArray old = mpegFrames(4) + v1Block("old", "", 1, 1);
    const QString p = put("song.mp3", old);
    const QString twin = path("album/track01.mp3");
    ASSERT_TRUE(QDir().mkpath(path("album")));
    ASSERT_EQ(::link(QFile::encodeName(p).constData(), QFile::encodeName(twin).constData()), 0);
    const QString fresh = put("fresh.mp3", mpegFrames(2));
    for (const QString &target : {p, twin}) {
        for (const auto &[name, save] : saves(target, target == p ? p : fresh, 1)) {
            const Attempt a = attempt(save);
            EXPECT_EQ(a.number, vx::err::PermissionDenied) << name;
            EXPECT_TRUE(a.description.contains(QStringLiteral("ハードリンク"))) << qPrintable(a.description);
        }
    }
    EXPECT_EQ(content(p), old);
    EXPECT_EQ(inode(p), inode(twin));
    // Saved under a name of its own, the file keeps its links untouched.
    const QString copy = path("copy.mp3");
    for (const auto &[name, save] : saves(copy, p, 1))
        EXPECT_EQ(attempt(save).number, 0) << name;
    EXPECT_EQ(content(p), old);
    EXPECT_EQ(inode(p), inode(twin));
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

// A save of `path` killed after it made its temporary file: what a crash leaves.
void leaveTemporaryOf(const QString &path)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            io::Replacement r(path, path);
            r.write("half");
            ::_exit(0); // no destructors: the temporary file stays
        } catch (...) {
            ::_exit(1);
        }
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
