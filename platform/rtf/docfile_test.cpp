#include "docfile.h"

#include "platform/core/errors.h"
#include "platform/core/sidename.h"
#include "testing/capabilities.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
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

int errorOf(const QString &path, const QByteArray &bytes, QString *reason = nullptr)
{
    try {
        writeDocument(path, bytes);
    } catch (const vx::RuntimeError &e) {
        if (reason)
            *reason = e.description();
        return e.number();
    }
    return 0;
}

// A side file of ours beside `name`, as a killed save leaves it, an hour old.
QString leftover(const QString &dir, const QString &name, const char *tag)
{
    const QString path = dir + QLatin1Char('/') +
                         QString::fromStdString(vx::sidename::prefix(name.toStdString(), tag, 6)) +
                         QStringLiteral("Ab12Cd");
    write(path, "half");
    const struct timeval old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimes(QFile::encodeName(path).constData(), old);
    return path;
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
    EXPECT_EQ(error, 61);
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

TEST(WriteDocument, NamesOf255BytesAreReplacedAndTheirLeftoversFound)
{
    QTemporaryDir tmp;
    // 83 Japanese characters, "ab" and ".txt": 255 bytes.
    const QString name = QString(83, QChar(u'あ')) + QStringLiteral("ab.txt");
    ASSERT_EQ(name.toUtf8().size(), 255);
    const QString path = tmp.filePath(name);
    write(path, "old");
    const QString stale = leftover(tmp.path(), name, "vxtmp-");
    EXPECT_EQ(errorOf(path, "new"), 0);
    EXPECT_EQ(read(path), QByteArray("new"));
    EXPECT_EQ(leftovers(tmp.path()), QStringList{name}) << "the killed save's file is gone";

    // With a second name: rewritten in place, its copy beside it cut to fit too.
    const QString twin = tmp.filePath(QStringLiteral("twin.txt"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(twin).constData()), 0);
    leftover(tmp.path(), name, "keep-");
    EXPECT_EQ(errorOf(path, "again"), 0);
    EXPECT_EQ(read(twin), QByteArray("again"));
    EXPECT_EQ(leftovers(tmp.path()), (QStringList{QStringLiteral("twin.txt"), name}));

    // A side file that a save running now may hold is left alone.
    ASSERT_EQ(::unlink(QFile::encodeName(twin).constData()), 0);
    const QString fresh = tmp.filePath(QString::fromStdString(vx::sidename::prefix(name.toStdString(), "vxtmp-", 6)) +
                                       QStringLiteral("Zz9Zz9"));
    write(fresh, "busy");
    EXPECT_EQ(errorOf(path, "third"), 0);
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_FALSE(QFile::exists(stale));
}

TEST(WriteDocument, AFailureSaysWhyInJapanese)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    QTemporaryDir tmp;
    QString why;
    EXPECT_EQ(errorOf(tmp.filePath(QStringLiteral("no/such.txt")), "x", &why), vx::err::PathNotFound);
    EXPECT_EQ(why, QStringLiteral("保存先のフォルダーが見つかりません。"));
    EXPECT_EQ(errorOf(tmp.filePath(QString(256, QLatin1Char('n'))), "x", &why), vx::err::BadFileName);
    EXPECT_EQ(why, QStringLiteral("ファイル名が長すぎます（255バイトまでです）。"));

    // A folder that may not be written takes no new file, but a writable
    // file in it is saved, in place.
    const QString sealed = tmp.filePath(QStringLiteral("sealed"));
    ASSERT_TRUE(QDir().mkdir(sealed));
    write(sealed + QStringLiteral("/in.txt"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(sealed).constData(), 0555), 0);
    EXPECT_EQ(errorOf(sealed + QStringLiteral("/new.txt"), "x", &why), vx::err::PermissionDenied);
    EXPECT_EQ(why, QStringLiteral("保存先のフォルダーへの書き込みが許可されていません。"));
    EXPECT_EQ(errorOf(sealed + QStringLiteral("/in.txt"), "x", &why), 0);
    EXPECT_EQ(read(sealed + QStringLiteral("/in.txt")), QByteArray("x"));
    EXPECT_EQ(leftovers(sealed), QStringList{QStringLiteral("in.txt")});
    ::chmod(QFile::encodeName(sealed).constData(), 0755);
}

} // namespace
