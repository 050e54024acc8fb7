// The store's file as users and their tools leave it: a link, a FIFO, a device,
// a huge file, a folder that cannot be written.
#include "platform/store/store.h"

#include "platform/core/errors.h"
#include "platform/core/sidename.h"
#include "testing/errors.h"
#include "testing/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using vxtest::errorOf;

using namespace vx::store;

namespace {

const QString App = QStringLiteral("Velmora 200X");
const QString S = QStringLiteral("S");
const QString K = QStringLiteral("k");

class StoreFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        oldXdg_ = qgetenv("XDG_CONFIG_HOME");
        config = tmp_.path() + QStringLiteral("/config");
        ASSERT_TRUE(QDir().mkpath(config));
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
    }
    void TearDown() override
    {
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_CONFIG_HOME", oldXdg_);
    }
    QString path(const QString &name) const { return tmp_.path() + QLatin1Char('/') + name; }

    QString config;
    QTemporaryDir tmp_;
    QByteArray oldXdg_;
};

using vxtest::readBytes;
using vxtest::writeBytes;

// Runs fn on another thread; false when it has not returned within 5 s.
bool returnsAtOnce(const std::function<void()> &fn, const std::function<void()> &unblock)
{
    auto done = std::async(std::launch::async, fn);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return true;
    unblock();
    done.wait();
    return false;
}

TEST_F(StoreFileTest, AFifoOrDeviceInPlaceOfTheStoreAnswersAtOnce)
{
    const QString store = StorePath(App);
    const QByteArray fifo = QFile::encodeName(store);
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    auto unblock = [&] { ::close(::open(fifo.constData(), O_WRONLY)); };

    QString value;
    ASSERT_TRUE(returnsAtOnce([&] { value = GetSetting(App, S, K, QStringLiteral("def")); }, unblock))
        << "a read waits for a writer";
    EXPECT_EQ(value, QStringLiteral("def"));
    int number = 0;
    QString why;
    ASSERT_TRUE(returnsAtOnce([&] { number = errorOf([] { SaveSetting(App, S, K, QStringLiteral("v")); }, &why); },
                              unblock))
        << "a save waits (holding the lock) for a writer";
    EXPECT_EQ(number, vx::err::PathFileAccess);
    EXPECT_TRUE(why.contains(store) && why.contains(QStringLiteral("通常のファイルではありません"))) << qPrintable(why);
    struct stat st;
    ASSERT_EQ(::lstat(fifo.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "left as it was";

    // Reading /dev/zero to its end would never end.
    ASSERT_TRUE(QFile::remove(store));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), store));
    EXPECT_EQ(GetSetting(App, S, K, QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_TRUE(Sections(App).isEmpty());
    EXPECT_EQ(errorOf([] { SaveSetting(App, S, K, QStringLiteral("v")); }), vx::err::PathFileAccess);
    EXPECT_TRUE(QFileInfo(store).isSymLink());
}

TEST_F(StoreFileTest, AStoreBeyondSixteenMegabytesIsRefusedUnread)
{
    const QString store = StorePath(App);
    writeBytes(store, "[S]\nk=small\n");
    ASSERT_EQ(::truncate(QFile::encodeName(store).constData(), (16 << 20) + 1), 0);
    EXPECT_EQ(GetSetting(App, S, K, QStringLiteral("def")), QStringLiteral("def"));
    QString why;
    EXPECT_EQ(errorOf([] { SaveSetting(App, S, K, QStringLiteral("v")); }, &why), vx::err::PathFileAccess);
    EXPECT_TRUE(why.contains(QStringLiteral("大きすぎます"))) << qPrintable(why);
    EXPECT_EQ(QFileInfo(store).size(), (16 << 20) + 1) << "nothing written over it";

    ASSERT_EQ(::truncate(QFile::encodeName(store).constData(), 16 << 20), 0);
    EXPECT_EQ(GetSetting(App, S, K), QStringLiteral("small")) << "up to the limit it is read";
}

TEST_F(StoreFileTest, AStoreReachedThroughASymbolicLinkIsReplacedAtItsTarget)
{
    const QString store = StorePath(App);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("dotfiles"))));
    const QString target = path(QStringLiteral("dotfiles/vx.ini"));
    writeBytes(target, "[S]\nk=old\n");
    // Relative, as dotfile managers make them.
    ASSERT_EQ(::symlink("../dotfiles/vx.ini", QFile::encodeName(store).constData()), 0);

    SaveSetting(App, S, K, QStringLiteral("new"));
    EXPECT_TRUE(QFileInfo(store).isSymLink());
    EXPECT_EQ(readBytes(target), QByteArray("[S]\nk=new\n"));
    EXPECT_EQ(GetSetting(App, S, K), QStringLiteral("new"));

    // A link whose file is not there yet makes it there.
    ASSERT_TRUE(QFile::remove(target));
    SaveSetting(App, S, K, QStringLiteral("again"));
    EXPECT_TRUE(QFileInfo(store).isSymLink());
    EXPECT_EQ(readBytes(target), QByteArray("[S]\nk=again\n"));

    // A link to a link.
    const QString middle = path(QStringLiteral("middle.ini"));
    ASSERT_TRUE(QFile::link(target, middle));
    ASSERT_TRUE(QFile::remove(store));
    ASSERT_TRUE(QFile::link(middle, store));
    DeleteSection(App, S);
    EXPECT_TRUE(QFileInfo(store).isSymLink());
    EXPECT_TRUE(QFileInfo(middle).isSymLink());
    EXPECT_TRUE(QFileInfo(target).exists());
    EXPECT_TRUE(readBytes(target).isEmpty());
}

// A link may lead to a file named with the file system's full 255 bytes: our
// temporary file beside it still gets a name, and what a killed save left
// there goes at the next one.
TEST_F(StoreFileTest, AStoreLinkedToAFileOf255BytesIsSavedAndItsLeftoversFound)
{
    QString name;
    for (int i = 0; i < 85; ++i)
        name += QChar(0x8A2D); // 設: 255 bytes in UTF-8
    ASSERT_EQ(QFile::encodeName(name).size(), 255);
    const QString target = path(name);
    writeBytes(target, "[S]\nk=old\n");
    ASSERT_TRUE(QFile::link(target, StorePath(App)));
    SaveSetting(App, S, K, QStringLiteral("new"));
    EXPECT_EQ(readBytes(target), QByteArray("[S]\nk=new\n"));
    const QDir dir(tmp_.path());
    ASSERT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList{name});
    // What a killed writer left: its name as this one's, another number.
    const std::string prefix = vx::sidename::prefix(QFile::encodeName(name).toStdString(), "tmp.", 10);
    const QString leftover = path(QFile::decodeName(QByteArray::fromStdString(prefix)) + QStringLiteral("999999"));
    writeBytes(leftover, "[S]\nk=half");
    SaveSetting(App, S, K, QStringLiteral("again"));
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList{name});
    EXPECT_EQ(GetSetting(App, S, K), QStringLiteral("again"));
}

// What the system refuses is said in Japanese, naming the path.
TEST_F(StoreFileTest, ANameTheFileSystemRefusesIsSaidInJapanese)
{
    const QString tooLong = path(QString(86, QChar(0x8A2D))); // 258 bytes
    qputenv("XDG_CONFIG_HOME", tooLong.toUtf8());
    QString why;
    EXPECT_EQ(errorOf([] { SaveSetting(App, S, K, QStringLiteral("w")); }, &why), vx::err::PathFileAccess);
    EXPECT_TRUE(why.contains(QStringLiteral("ファイル名が長すぎます"))) << qPrintable(why);
    EXPECT_TRUE(why.contains(tooLong));
    EXPECT_FALSE(why.contains(QLatin1String(std::strerror(ENAMETOOLONG)))) << qPrintable(why);
}

TEST_F(StoreFileTest, ASaveInAReadOnlyFolderNamesThePermissionNotTheMissingLock)
{
    writeBytes(StorePath(App), "[S]\nk=v\n");
    ASSERT_FALSE(QFile::exists(StorePath(App) + QStringLiteral(".lock")));
    QFile::setPermissions(tmp_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                           QFile::ExeOther);
    QFile::setPermissions(config, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(StorePath(App), QFile::ReadOwner | QFile::ReadOther);
    auto check = [] {
        QString why;
        const int number = errorOf([] { SaveSetting(App, S, K, QStringLiteral("w")); }, &why);
        const bool ok = number == vx::err::PermissionDenied && why.contains(QStringLiteral(".lock")) &&
                        !why.contains(vx::errorText(vx::err::FileNotFound));
        if (!ok)
            fprintf(stderr, "error %d: %s\n", number, qPrintable(why));
        return ok && GetSetting(App, S, K) == QStringLiteral("v");
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    // Permissions do not stop root: ask as somebody else.
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
