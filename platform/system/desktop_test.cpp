#include "platform/system/desktop.h"
#include "testing/capabilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write("x");
}

TEST(Desktop, TrashEmptiedWithoutFollowingLinks)
{
    QTemporaryDir tmp;
    const QString home = tmp.filePath("data/Trash");
    QDir().mkpath(home + "/files/folder/inner");
    QDir().mkpath(home + "/info");
    touch(home + "/files/a.txt");
    touch(home + "/files/.hidden");
    touch(home + "/files/folder/inner/b.txt");
    touch(home + "/info/a.txt.trashinfo");
    touch(home + "/directorysizes");
    // Something outside the Trash that a link inside points at stays.
    QDir().mkpath(tmp.filePath("keep"));
    touch(tmp.filePath("keep/precious.txt"));
    ASSERT_EQ(::symlink(QFile::encodeName(tmp.filePath("keep")).constData(),
                        QFile::encodeName(home + "/files/link").constData()),
              0);
    // A mounted file system's own Trash.
    const QString mount = tmp.filePath("mnt");
    const QString mountTrash = mount + "/.Trash-" + QString::number(::getuid());
    QDir().mkpath(mountTrash + "/files");
    touch(mountTrash + "/files/c.txt");
    touch(mount + "/not-trash.txt");

    EXPECT_EQ(vx::emptyTrashFolders(home, {mount}), QString());
    EXPECT_TRUE(QDir(home + "/files").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    EXPECT_TRUE(QDir(home + "/info").isEmpty());
    EXPECT_FALSE(QFile::exists(home + "/directorysizes"));
    EXPECT_TRUE(QDir(mountTrash + "/files").isEmpty());
    EXPECT_TRUE(QFile::exists(tmp.filePath("keep/precious.txt")));
    EXPECT_TRUE(QFile::exists(mount + "/not-trash.txt"));
    // No Trash at all is an empty one.
    EXPECT_EQ(vx::emptyTrashFolders(tmp.filePath("none"), {}), QString());
}

// Root may remove anything: the check runs again without the capabilities
// that let it.
TEST(Desktop, TrashThatCannotBeEmptiedSaysWhat)
{
    if (vxtest::rerunWithoutCapabilities({QStringLiteral("dac_override"), QStringLiteral("dac_read_search"), QStringLiteral("fowner")}))
        return;
    QTemporaryDir tmp;
    const QString home = tmp.filePath("Trash");
    QDir().mkpath(home + "/files/locked");
    touch(home + "/files/locked/x");
    QFile::setPermissions(home + "/files/locked", QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(vx::emptyTrashFolders(home, {}).startsWith(home + "/files/locked"));
    EXPECT_TRUE(QFile::exists(home + "/files/locked/x"));
    QFile::setPermissions(home + "/files/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Desktop, RecentListRewrittenEmpty)
{
    QTemporaryDir tmp;
    const QString xbel = tmp.filePath("recently-used.xbel");
    EXPECT_FALSE(vx::recentlyUsedHasEntries(xbel));
    EXPECT_EQ(vx::clearRecentlyUsed(xbel), QString());
    EXPECT_FALSE(QFile::exists(xbel)); // nothing there, nothing made
    QFile f(xbel);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><xbel version=\"1.0\"><bookmark href=\"file:///secret.txt\"/></xbel>");
    f.close();
    EXPECT_TRUE(vx::recentlyUsedHasEntries(xbel));
    EXPECT_EQ(vx::clearRecentlyUsed(xbel), QString());
    EXPECT_FALSE(vx::recentlyUsedHasEntries(xbel)) << "an empty list has nothing to clear";
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray now = f.readAll();
    EXPECT_FALSE(now.contains("secret"));
    EXPECT_TRUE(now.contains("<xbel"));
}

TEST(Desktop, RealDriverClearsTheListOfXdgDataHome)
{
    QTemporaryDir tmp;
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.path()));
    const QString xbel = tmp.filePath("recently-used.xbel");
    {
        QFile f(xbel);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<xbel><bookmark href=\"file:///secret.txt\"/></xbel>");
    }
    vx::setDesktopDriver(nullptr);
    EXPECT_EQ(vx::desktopDriver().clearRecent(), QString());
    QFile f(xbel);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("secret"));
    qputenv("XDG_DATA_HOME", old);
}

TEST(Desktop, CandidatesOfTheRunningDesktopFirstAndNoForeignShutdown)
{
    const auto about = vx::desktopCandidates(vx::DesktopTool::SystemAbout, QStringLiteral("ubuntu:GNOME"));
    ASSERT_FALSE(about.empty());
    EXPECT_EQ(about.front().first(), QStringLiteral("gnome-control-center"));
    const auto xfce = vx::desktopCandidates(vx::DesktopTool::Appearance, QStringLiteral("XFCE"));
    EXPECT_EQ(xfce.front(), QStringList{QStringLiteral("xfce4-appearance-settings")});
    EXPECT_GT(xfce.size(), 1u); // another desktop's tool is better than none
    EXPECT_TRUE(vx::desktopCandidates(vx::DesktopTool::ShutdownPrompt, QString()).empty());
    const auto off = vx::desktopCandidates(vx::DesktopTool::ShutdownPrompt, QStringLiteral("GNOME"));
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off.front(), (QStringList{QStringLiteral("gnome-session-quit"), QStringLiteral("--power-off")}));
    EXPECT_EQ(vx::desktopCandidates(vx::DesktopTool::ScreenSaver, QString()).front(),
              (QStringList{QStringLiteral("xdg-screensaver"), QStringLiteral("activate")}));
    EXPECT_EQ(vx::desktopCandidates(vx::DesktopTool::FileManager, QString()).front(),
              (QStringList{QStringLiteral("xdg-open"), QDir::homePath()}));
}

} // namespace
