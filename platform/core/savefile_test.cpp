#include "savefile.h"

#include "testing/capabilities.h"
#include "testing/files.h"
#include "testing/smalldisk.h"

#include "platform/core/syserror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using vxtest::readBytes;
using vxtest::writeBytes;

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

QStringList filesIn(const QString &dir) { return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name); }

void setMode(const QString &path, mode_t mode) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0); }

// Where the file to save lies, and how it is named.
enum class Place {
    Plain,          // one name, in a folder the user may write
    HardLinked,     // a second name beside it
    SealedFolder,   // in a folder the user may not write
    LinkIntoSealed, // named through a symbolic link into such a folder
};

struct Layout {
    QString folder; // where the file lies
    QString file;   // the file itself
    QString named;  // the name the save is given
};

// Lays out "doc.txt" holding "old" in `root` by `place`.
Layout layOut(const QString &root, Place place)
{
    Layout l;
    l.folder = root + QStringLiteral("/folder");
    QDir().mkpath(l.folder);
    l.file = l.folder + QStringLiteral("/doc.txt");
    l.named = l.file;
    writeBytes(l.file, "old");
    if (place == Place::HardLinked) {
        EXPECT_EQ(::link(QFile::encodeName(l.file).constData(), QFile::encodeName(l.folder + "/twin.txt").constData()), 0);
    }
    if (place == Place::LinkIntoSealed) {
        l.named = root + QStringLiteral("/link.txt");
        EXPECT_TRUE(QFile::link(l.file, l.named));
    }
    if (place == Place::SealedFolder || place == Place::LinkIntoSealed)
        setMode(l.folder, 0555);
    return l;
}

// Root writes anywhere: both tests run again without the powers that let it.
TEST(SaveUserFile, AWritableFileIsSavedWhereverItLiesAndKeepsItsModeGroupAndNames)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const struct {
        const char *what;
        Place place;
        bool sameFile; // rewritten in place, so every name shows the new content
    } cases[] = {
        {"one name", Place::Plain, false},
        {"hard-linked", Place::HardLinked, true},
        {"in a folder that takes no new file", Place::SealedFolder, true},
        {"through a link into such a folder", Place::LinkIntoSealed, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir tmp;
        const Layout l = layOut(tmp.path(), c.place);
        // Mode and group of the user's choosing (root without its powers may
        // still give any group).
        setMode(l.file, 0640);
        const gid_t group = ::geteuid() == 0 ? 4321 : ::getegid();
        ASSERT_EQ(::chown(QFile::encodeName(l.file).constData(), uid_t(-1), group), 0);
        const ino_t inode = statOf(l.file).st_ino;

        const vx::SaveResult r = vx::saveUserFile(l.named, "new content");
        EXPECT_TRUE(r.ok()) << r.reason().toStdString();
        EXPECT_EQ(readBytes(l.file), QByteArray("new content"));
        const struct stat st = statOf(l.file);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(st.st_gid, group);
        if (c.sameFile) {
            EXPECT_EQ(st.st_ino, inode);
        }
        if (c.place == Place::HardLinked) {
            EXPECT_EQ(readBytes(l.folder + "/twin.txt"), QByteArray("new content"));
        }
        if (c.place == Place::LinkIntoSealed) {
            EXPECT_TRUE(QFileInfo(l.named).isSymLink());
        }
        const QStringList expected = c.place == Place::HardLinked ? QStringList{"doc.txt", "twin.txt"} : QStringList{"doc.txt"};
        EXPECT_EQ(filesIn(l.folder), expected) << "no side file left";
        setMode(l.folder, 0755);
    }
}

TEST(SaveUserFile, AFailureLeavesTheOldFileWholeNoSideFileAndSaysItsTrueReason)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    // 256 KB with 8 KB left: enough for the side files, not for the content.
    vxtest::SmallDisk disk(256 * 1024);
    const QByteArray big(64 * 1024, 'n');
    const QString full = QStringLiteral("ディスクの空き容量が不足しています。");
    enum class Kind { Existing, New, Fifo };
    const struct {
        const char *what;
        Place place;
        Kind kind;
        bool onFullDisk;
        mode_t fileMode;
        const char *missingFolder; // saved below a folder that is not there
        QString reason;
    } cases[] = {
        {"write-protected file", Place::Plain, Kind::Existing, false, 0444, nullptr, "書き込みが許可されていません。"},
        {"new file in a folder that takes none", Place::SealedFolder, Kind::New, false, 0644, nullptr,
         "保存先のフォルダーへの書き込みが許可されていません。"},
        {"missing folder", Place::Plain, Kind::New, false, 0644, "gone", "保存先のフォルダーが見つかりません。"},
        {"FIFO", Place::Plain, Kind::Fifo, false, 0644, nullptr, "通常のファイルではありません。"},
        {"full disk, one name", Place::Plain, Kind::Existing, true, 0644, nullptr, full},
        {"full disk, hard-linked", Place::HardLinked, Kind::Existing, true, 0644, nullptr, full},
        {"full disk, folder that takes no new file", Place::SealedFolder, Kind::Existing, true, 0644, nullptr, full},
        {"full disk, new file", Place::Plain, Kind::New, true, 0644, nullptr, full},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.onFullDisk && !disk.ok()) {
            std::cerr << "skipped, no small file system to fill: " << disk.why().toStdString() << "\n";
            continue;
        }
        QTemporaryDir tmp;
        const QString root = c.onFullDisk ? disk.path() + QStringLiteral("/case") : tmp.path();
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        Layout l = layOut(root, c.kind == Kind::Existing ? c.place : Place::Plain);
        if (c.kind == Kind::Existing) {
            setMode(l.file, c.fileMode);
        } else {
            QFile::remove(l.file);
            if (c.kind == Kind::Fifo) {
                ASSERT_EQ(::mkfifo(QFile::encodeName(l.file).constData(), 0600), 0);
            }
            if (c.place == Place::SealedFolder)
                setMode(l.folder, 0555);
        }
        const QString target = c.missingFolder ? l.folder + "/" + c.missingFolder + "/doc.txt" : l.file;
        const QStringList before = filesIn(l.folder);
        if (c.onFullDisk) {
            ASSERT_TRUE(disk.leaveFree(8 * 1024));
        }

        const vx::SaveResult r = vx::saveUserFile(target, big);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.reason(), c.reason);
        if (c.kind == Kind::Existing) {
            EXPECT_EQ(readBytes(l.file), QByteArray("old"));
        }
        if (c.kind == Kind::New) {
            EXPECT_FALSE(QFile::exists(target));
        }
        EXPECT_EQ(filesIn(l.folder), before) << "no side file left";
        setMode(l.folder, 0755);
    }
}

// Streamed content, written as it is made: where the file is rewritten in place
// the writer reads the old content from the copy it is given, and a writer
// that gives up half-way leaves the old content back in the file.
TEST(SaveUserFile, AStreamedSaveThatStopsHalfWayLeavesTheOldContent)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const QString tooLarge = QStringLiteral("大きすぎて元の内容を控えておけません");
    const struct {
        const char *what;
        Place place;
        qint64 holdLimit;
        bool inPlace;
        QString reason;
    } cases[] = {
        {"one name", Place::Plain, 1 << 20, false, vx::systemReason(EIO)},
        {"hard-linked", Place::HardLinked, 1, true, vx::systemReason(EIO)},
        {"in a folder that takes no new file", Place::SealedFolder, 3, true, vx::systemReason(EIO)},
        {"too large to hold there", Place::SealedFolder, 2, false, tooLarge},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir tmp;
        const Layout l = layOut(tmp.path(), c.place);
        const ino_t inode = statOf(l.file).st_ino;
        setMode(l.folder, 0755);
        const QStringList before = filesIn(l.folder);
        if (c.place == Place::SealedFolder)
            setMode(l.folder, 0555);
        QByteArray seen = "<not asked>";
        vx::StreamedContent content;
        content.size = 11;
        content.holdLimit = c.holdLimit;
        content.write = [&seen](int held, vx::SaveSink &out) {
            seen = held < 0 ? QByteArray("<none>") : QByteArray(3, '\0');
            if (held >= 0 && ::pread(held, seen.data(), 3, 0) != 3)
                seen = "<unread>";
            out.write("partial", 7);
            errno = EIO;
            return false;
        };

        const vx::SaveResult r = vx::saveUserFile(l.named, content);
        setMode(l.folder, 0755);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.reason().contains(c.reason)) << r.reason().toStdString();
        if (c.reason != tooLarge) {
            EXPECT_EQ(seen, c.inPlace ? QByteArray("old") : QByteArray("<none>"));
        }
        EXPECT_EQ(readBytes(l.file), QByteArray("old"));
        EXPECT_EQ(statOf(l.file).st_ino, inode);
        EXPECT_EQ(filesIn(l.folder), before) << "no side file left";
    }
}

} // namespace
