#include "docfile.h"

#include "platform/core/errors.h"
#include "testing/capabilities.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using vx::text::writeDocument;

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int errorOf(const QString &path, const QByteArray &bytes)
{
    try {
        writeDocument(path, bytes);
    } catch (const vx::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

QStringList leftovers(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

TEST(WriteDocument, AProtectedFileIsAPermissionErrorAndStaysAsItWas)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("ro.txt"));
    write(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_EQ(errorOf(path, "new"), 70);
    EXPECT_EQ(read(path), QByteArray("old"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    // The same through a second name, and through a link to it.
    const QString twin = tmp.filePath(QStringLiteral("twin.txt"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(twin).constData()), 0);
    const QString sym = tmp.filePath(QStringLiteral("sym.txt"));
    ASSERT_TRUE(QFile::link(path, sym));
    EXPECT_EQ(errorOf(twin, "new"), 70);
    EXPECT_EQ(errorOf(sym, "new"), 70);
    EXPECT_EQ(read(path), QByteArray("old"));
    EXPECT_EQ(leftovers(tmp.path()), (QStringList{QStringLiteral("ro.txt"), QStringLiteral("sym.txt"), QStringLiteral("twin.txt")}));
}

TEST(WriteDocument, EveryNameOfAHardLinkedFileShowsTheNewContent)
{
    QTemporaryDir tmp;
    const QString a = tmp.filePath(QStringLiteral("a.txt"));
    const QString b = tmp.filePath(QStringLiteral("b.txt"));
    write(a, "old content");
    ASSERT_EQ(::link(QFile::encodeName(a).constData(), QFile::encodeName(b).constData()), 0);
    // A copy a crashed save left behind goes with the next good save.
    write(tmp.filePath(QStringLiteral(".a.txt.keep-Ab12Cd")), "old content");
    EXPECT_EQ(errorOf(a, "new"), 0);
    EXPECT_EQ(read(a), QByteArray("new"));
    EXPECT_EQ(read(b), QByteArray("new"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(a).constData(), &st), 0);
    EXPECT_EQ(st.st_nlink, 2u);
    EXPECT_EQ(leftovers(tmp.path()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));

    // A single name: replaced whole; new files are made.
    const QString c = tmp.filePath(QStringLiteral("c.txt"));
    EXPECT_EQ(errorOf(c, "made"), 0);
    EXPECT_EQ(read(c), QByteArray("made"));
    EXPECT_EQ(errorOf(c, "again"), 0);
    EXPECT_EQ(read(c), QByteArray("again"));
}

TEST(WriteDocument, AFailedInPlaceWriteLeavesTheOldContent)
{
    QTemporaryDir tmp;
    const QString a = tmp.filePath(QStringLiteral("a.txt"));
    const QString b = tmp.filePath(QStringLiteral("b.txt"));
    write(a, "old");
    ASSERT_EQ(::link(QFile::encodeName(a).constData(), QFile::encodeName(b).constData()), 0);
    // Files may not grow past 1 KB: the new content cannot be written.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int error = errorOf(b, QByteArray(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, 75);
    EXPECT_EQ(read(a), QByteArray("old"));
    EXPECT_EQ(leftovers(tmp.path()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

TEST(WriteDocument, OnlyRegularFilesAreWritten)
{
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(errorOf(fifo, "x"), 75);
    EXPECT_EQ(errorOf(tmp.path(), "x"), 75);
    // A link to something that is not a file (never a real device here: a
    // faulty writer would replace it for the whole machine).
    const QString link = tmp.filePath(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(fifo, link));
    EXPECT_EQ(errorOf(link, "x"), 75);
    EXPECT_EQ(errorOf(QString(), "x"), 52);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace
