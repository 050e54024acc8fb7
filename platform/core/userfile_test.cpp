// Files the user may point the suite at: only regular files open, and nothing
// blocks or takes more than the caller's bound.
#include "platform/core/userfileqt.h"

#include "testing/capabilities.h"
#include "testing/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using vx::UserFileStatus;

namespace {

QString write(const QDir &dir, const QString &name, const QByteArray &data)
{
    return vxtest::writeIn(dir.path(), name, data);
}

TEST(UserFile, RegularFilesReadWithinTheirBound)
{
    QTemporaryDir tmp;
    QDir dir(tmp.path());
    const QString path = write(dir, QStringLiteral("a.txt"), "hello");
    QByteArray out;
    EXPECT_EQ(vx::readUserFile(path, 5, out), UserFileStatus::Ok);
    EXPECT_EQ(out, "hello");
    EXPECT_EQ(vx::readUserFile(path, 4, out), UserFileStatus::TooLarge);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(vx::readUserFile(path, vx::userfile::kNoLimit, out), UserFileStatus::Ok);
    EXPECT_EQ(vx::readUserFile(dir.filePath(QStringLiteral("none")), 10, out), UserFileStatus::Missing);

    // A link to a regular file is that file.
    ASSERT_EQ(::symlink(QFile::encodeName(path).constData(),
                        QFile::encodeName(dir.filePath(QStringLiteral("l"))).constData()), 0);
    EXPECT_EQ(vx::readUserFile(dir.filePath(QStringLiteral("l")), 10, out), UserFileStatus::Ok);

    QFile f;
    ASSERT_EQ(vx::openUserFile(f, path, 100), UserFileStatus::Ok);
    EXPECT_EQ(f.readAll(), "hello");
    // The descriptor is in blocking mode again for the caller.
    EXPECT_EQ(::fcntl(f.handle(), F_GETFL) & O_NONBLOCK, 0);
}

TEST(UserFile, WhatIsNotARegularFileFailsAtOnce)
{
    QTemporaryDir tmp;
    QDir dir(tmp.path());
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("song.mp3")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const QByteArray zero = QFile::encodeName(dir.filePath(QStringLiteral("zero.txt")));
    ASSERT_EQ(::symlink("/dev/zero", zero.constData()), 0);
    ASSERT_TRUE(dir.mkdir(QStringLiteral("folder.jpg")));
    const QByteArray sock = QFile::encodeName(dir.filePath(QStringLiteral("s.lzh")));
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(size_t(sock.size()), sizeof addr.sun_path);
    memcpy(addr.sun_path, sock.constData(), size_t(sock.size()));
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);

    const auto start = std::chrono::steady_clock::now();
    QByteArray out;
    for (const QByteArray &p : {fifo, zero, QFile::encodeName(dir.filePath(QStringLiteral("folder.jpg"))), sock}) {
        EXPECT_EQ(vx::readUserFile(QFile::decodeName(p), vx::userfile::kNoLimit, out), UserFileStatus::NotRegular)
            << p.constData();
        QFile f;
        EXPECT_EQ(vx::openUserFile(f, QFile::decodeName(p), 1 << 20), UserFileStatus::NotRegular);
        EXPECT_FALSE(f.isOpen());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ::close(s);
    EXPECT_EQ(vx::userFileErrorNumber(UserFileStatus::NotRegular), 75);
}

TEST(UserFile, AHugeSparseFileIsRefusedByItsSizeAlone)
{
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("big.bmp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(4) << 30));
    f.close();
    QByteArray out;
    EXPECT_EQ(vx::readUserFile(path, 64 << 20, out), UserFileStatus::TooLarge);
    vx::userfile::Handle h = vx::userfile::open(QFile::encodeName(path).constData(), 64 << 20);
    EXPECT_EQ(h.status(), UserFileStatus::TooLarge);
    EXPECT_LT(h.fd(), 0);
}

TEST(UserFile, AnUnreadableFileIsDenied)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    QTemporaryDir tmp;
    const QString path = write(QDir(tmp.path()), QStringLiteral("secret.txt"), "x");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    QByteArray out;
    EXPECT_EQ(vx::readUserFile(path, 10, out), UserFileStatus::Denied);
    EXPECT_EQ(vx::userFileErrorNumber(UserFileStatus::Denied), 70);
}

} // namespace

namespace {

TEST(UserFile, ASaveReplacesOnlyRegularFilesItMayWrite)
{
    QTemporaryDir tmp;
    QDir dir(tmp.path());
    EXPECT_EQ(vx::checkSaveTarget(dir.filePath(QStringLiteral("new.bmp"))), UserFileStatus::Ok);
    EXPECT_EQ(vx::checkSaveTarget(write(dir, QStringLiteral("old.bmp"), "x")), UserFileStatus::Ok);
    // A link to a device would have the device itself replaced by the rename.
    const QString zero = dir.filePath(QStringLiteral("zero.bmp"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_EQ(vx::checkSaveTarget(zero), UserFileStatus::NotRegular);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("p.txt"))).constData(), 0600), 0);
    EXPECT_EQ(vx::checkSaveTarget(dir.filePath(QStringLiteral("p.txt"))), UserFileStatus::NotRegular);
    ASSERT_TRUE(dir.mkdir(QStringLiteral("folder.txt")));
    EXPECT_EQ(vx::checkSaveTarget(dir.filePath(QStringLiteral("folder.txt"))), UserFileStatus::NotRegular);
}

TEST(UserFile, AWriteProtectedFileIsNoSaveTarget)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    QTemporaryDir tmp;
    const QString path = write(QDir(tmp.path()), QStringLiteral("ro.txt"), "x");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    EXPECT_EQ(vx::checkSaveTarget(path), UserFileStatus::Denied);
}

} // namespace
