// The running copy's lock: another live copy is told apart from one that died,
// and nothing but a regular file is ever taken as the lock.
#include "platform/core/instancelock.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using vx::InstanceLock;

namespace {

std::string in(const QTemporaryDir &tmp, const char *name) { return (tmp.path() + '/' + name).toStdString(); }

// A child process that takes the lock and reports through a pipe, then waits
// for a byte on another pipe before ending.
struct Holder {
    pid_t pid = -1;
    int release = -1;

    explicit Holder(const std::string &path)
    {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            InstanceLock lock;
            const char r = lock.take(path, "VX2002", "host") == InstanceLock::Result::Taken ? 'y' : 'n';
            (void)!::write(ready[1], &r, 1);
            char c;
            (void)!::read(go[0], &c, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        char r = 0;
        if (::read(ready[0], &r, 1) != 1 || r != 'y')
            pid = -1;
        ::close(ready[0]);
        release = go[1];
    }
    void end()
    {
        const char c = 'x';
        (void)!::write(release, &c, 1);
        ::close(release);
        ::waitpid(pid, nullptr, 0);
    }
};

TEST(InstanceLock, ALiveCopyHoldsItAndACopyThatEndedLeavesItFree)
{
    QTemporaryDir tmp;
    const std::string path = in(tmp, "VX2002.lock");
    Holder other(path);
    ASSERT_GT(other.pid, 0);
    {
        InstanceLock second;
        EXPECT_EQ(second.take(path, "VX2002", "host"), InstanceLock::Result::Held);
        EXPECT_FALSE(second.held());
    }
    // The other copy's lock and file are untouched by the refused try.
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    other.end();

    InstanceLock now;
    EXPECT_EQ(now.take(path, "VX2002", "host"), InstanceLock::Result::Taken);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray::number(::getpid()) + "\nVX2002\nhost\n");
}

TEST(InstanceLock, KilledCopyLeavesNoLockAndTheFileGoesWithTheHolder)
{
    QTemporaryDir tmp;
    const std::string path = in(tmp, "VX2002.lock");
    Holder other(path);
    ASSERT_GT(other.pid, 0);
    ::kill(other.pid, SIGKILL);
    ::waitpid(other.pid, nullptr, 0);
    ::close(other.release);
    {
        InstanceLock lock;
        EXPECT_EQ(lock.take(path, "VX2002", "host"), InstanceLock::Result::Taken);
        EXPECT_TRUE(lock.held());
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST(InstanceLock, QLockFileOnTheSameFileSeesItHeldAndIsSeen)
{
    QTemporaryDir tmp;
    const std::string path = in(tmp, "VX2002.lock");
    {
        QLockFile qt(QString::fromStdString(path));
        ASSERT_TRUE(qt.tryLock(0));
        InstanceLock ours;
        EXPECT_EQ(ours.take(path, "VX2002", "host"), InstanceLock::Result::Held);
    }
    Holder other(path);
    ASSERT_GT(other.pid, 0);
    QLockFile qt(QString::fromStdString(path));
    qt.setStaleLockTime(0);
    EXPECT_FALSE(qt.tryLock(0));
    other.end();
}

TEST(InstanceLock, OnlyARegularFileIsTakenAndNothingIsWrittenThroughALink)
{
    QTemporaryDir tmp;
    const std::string target = in(tmp, "precious.txt");
    {
        QFile f(QString::fromStdString(target));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    const std::string link = in(tmp, "link.lock");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    InstanceLock viaLink;
    EXPECT_EQ(viaLink.take(link, "VX2002", "host"), InstanceLock::Result::Failed);
    QFile f(QString::fromStdString(target));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");

    // A FIFO with no writer: refused at once, never waited on.
    const std::string fifo = in(tmp, "fifo.lock");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    InstanceLock onFifo;
    EXPECT_EQ(onFifo.take(fifo, "VX2002", "host"), InstanceLock::Result::Failed);

    InstanceLock noFolder;
    EXPECT_EQ(noFolder.take(in(tmp, "missing/VX2002.lock"), "VX2002", "host"), InstanceLock::Result::Failed);
}

} // namespace
