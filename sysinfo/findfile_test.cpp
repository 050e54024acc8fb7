#include "sysinfo/findfile.h"
#include "testing/capabilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

bool matches(const QString &pattern, const QString &name)
{
    const QByteArray n = QFile::encodeName(name);
    return basFindFile::WildcardPattern(pattern).matches(n.constData(), static_cast<size_t>(n.size()));
}

QStringList search(const QString &folder, const QString &pattern, bool recurse, int threads = 0)
{
    std::atomic<bool> cancel{false};
    QStringList found;
    basFindFile::SearchSink sink;
    sink.found = [&](vx::EntryBatch &&p) {
        for (qsizetype i = 0; i < p.size(); ++i)
            found << p.entry(i);
    };
    EXPECT_TRUE(basFindFile::Search(folder, pattern, recurse, cancel, sink, threads));
    return found;
}

TEST(FindFile, WindowsWildcardsInAnyCase)
{
    EXPECT_TRUE(matches(QString(), QStringLiteral("anything")));
    EXPECT_TRUE(matches(QStringLiteral("*.*"), QStringLiteral("noextension")));
    EXPECT_TRUE(matches(QStringLiteral("*.txt"), QStringLiteral("READ.ME.TXT")));
    EXPECT_FALSE(matches(QStringLiteral("*.txt"), QStringLiteral("a.txt~")));
    EXPECT_TRUE(matches(QStringLiteral("?.h"), QStringLiteral("あ.h"))); // one character, three bytes
    EXPECT_FALSE(matches(QStringLiteral("?.h"), QStringLiteral("ab.h")));
    EXPECT_TRUE(matches(QStringLiteral("a*b*c"), QStringLiteral("aXbYbZc")));
    EXPECT_FALSE(matches(QStringLiteral("a*b*c"), QStringLiteral("aXbYbZ")));
    EXPECT_TRUE(matches(QStringLiteral("ｒｅａｄ*"), QStringLiteral("ＲＥＡＤｍｅ.txt")));
    EXPECT_TRUE(matches(QStringLiteral("写真?.jpg"), QStringLiteral("写真1.JPG")));
    EXPECT_FALSE(matches(QStringLiteral("写真?.jpg"), QStringLiteral("写真.jpg")));
    EXPECT_EQ(basFindFile::AddBackslash(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(basFindFile::AddBackslash(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
}

class FindTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = dir.path();
        for (const char *f : {"b.txt", "A.TXT", ".hidden", "sub/c.txt", ".hsub/d.TXT", ".hsub/deep/e.txt"}) {
            QDir(root).mkpath(QFileInfo(root + '/' + f).path());
            touch(root + '/' + QString::fromLatin1(f));
        }
        ASSERT_EQ(::mkfifo(QFile::encodeName(root + "/fifo").constData(), 0644), 0);
        // A folder link back to the top and a dangling link.
        ASSERT_EQ(::symlink(QFile::encodeName(root).constData(), QFile::encodeName(root + "/sub/loop").constData()), 0);
        ASSERT_EQ(::symlink("/no/such", QFile::encodeName(root + "/dangling").constData()), 0);
        sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(root + "/sock");
        ASSERT_LT(static_cast<size_t>(path.size()), sizeof addr.sun_path);
        std::memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
        ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    }
    void TearDown() override { ::close(sock); }
    QTemporaryDir dir;
    QString root;
    int sock = -1;
};

TEST_F(FindTree, PreOrderInNameOrderEverythingButFolders)
{
    const QString r = root + '/';
    const QStringList all{r + ".hidden", r + "A.TXT", r + "b.txt", r + "dangling", r + "fifo", r + "sock",
                          r + ".hsub/d.TXT", r + ".hsub/deep/e.txt", r + "sub/c.txt", r + "sub/loop"};
    // One reader and many give the same order; the FIFO was never opened,
    // or the search would not have come back.
    EXPECT_EQ(search(root, QString(), true, 1), all);
    EXPECT_EQ(search(root, QStringLiteral("*.*"), true, 8), all);
    EXPECT_EQ(search(root + '/', QStringLiteral("*.txt"), true),
              (QStringList{r + "A.TXT", r + "b.txt", r + ".hsub/d.TXT", r + ".hsub/deep/e.txt", r + "sub/c.txt"}));
    EXPECT_EQ(search(root, QStringLiteral("*.txt"), false), (QStringList{r + "A.TXT", r + "b.txt"}));
    EXPECT_EQ(basFindFile::FindFilesRecursive(root + "/sub", QString(), true),
              r + "sub/c.txt\r\n" + r + "sub/loop\r\n");
    EXPECT_TRUE(search(root + "/missing", QString(), true).isEmpty());
}

TEST_F(FindTree, CancelStopsAndDeliversNothingMore)
{
    std::atomic<bool> cancel{false};
    int batches = 0;
    basFindFile::SearchSink sink;
    sink.found = [&](vx::EntryBatch &&) { ++batches; };
    sink.folder = [&](const QByteArray &) { cancel = true; };
    EXPECT_FALSE(basFindFile::Search(root, QString(), true, cancel, sink));
    EXPECT_EQ(batches, 0);
}

TEST(FindFile, RootGetsNoDoubledSlash)
{
    const QStringList top = search(QStringLiteral("/"), QString(), false);
    for (const QString &p : top) {
        EXPECT_TRUE(p.startsWith('/') && !p.startsWith(QStringLiteral("//"))) << p.toStdString();
        EXPECT_EQ(p.count('/'), 1);
    }
}

// Root reads any folder: the check runs again without the two capabilities
// that let it.
TEST(FindFile, UnreadableFolderSkipped)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    QTemporaryDir dir;
    const QString r = dir.path() + '/';
    QDir().mkpath(r + "locked/inner");
    touch(r + "locked/secret.txt");
    touch(r + "locked/inner/deeper.txt");
    touch(r + "open.txt");
    QDir().mkpath(r + "z");
    touch(r + "z/last.txt");
    ASSERT_EQ(::chmod(QFile::encodeName(r + "locked").constData(), 0), 0);
    ASSERT_FALSE(QDir(r + "locked").isReadable()) << "the folder can still be read";
    EXPECT_EQ(search(dir.path(), QString(), true), (QStringList{r + "open.txt", r + "z/last.txt"}));
    ::chmod(QFile::encodeName(r + "locked").constData(), 0755);
}

} // namespace
