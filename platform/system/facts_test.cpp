#include "platform/system/facts.h"
#include "testing/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/statvfs.h>
#include <unistd.h>

namespace {

void write(const QString &path, const QByteArray &text) { vxtest::writeBytes(path, text); }

TEST(Facts, MemoryInSixtyFourBitsWithTheUsedShare)
{
    QTemporaryDir dir;
    // 64 GB of memory, 16 GB available, 8 GB of swap: beyond 32-bit counts.
    write(dir.filePath("meminfo"), "MemTotal:       67108864 kB\nMemFree:         1000 kB\n"
                                   "MemAvailable:   16777216 kB\nSwapTotal:       8388608 kB\n"
                                   "SwapFree:        4194304 kB\n");
    write(dir.filePath("status"), "Name:\tx\nVmSize:\t  1048576 kB\n");
    const auto m = vx::facts::readMemory(dir.filePath("meminfo"), dir.filePath("status"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->totalPhys, qint64(64) << 30);
    EXPECT_EQ(m->availPhys, qint64(16) << 30);
    EXPECT_EQ(m->load, 75);
    EXPECT_EQ(m->totalSwap, qint64(8) << 30);
    EXPECT_EQ(m->availSwap, qint64(4) << 30);
    EXPECT_GT(m->totalVirtual, qint64(1) << 32);
    EXPECT_EQ(m->availVirtual, m->totalVirtual - (qint64(1) << 30));

    EXPECT_FALSE(vx::facts::readMemory(dir.filePath("missing"), dir.filePath("status")));

    // The real ones, by shape.
    const auto real = vx::facts::readMemory();
    ASSERT_TRUE(real);
    EXPECT_GT(real->totalPhys, 0);
    EXPECT_LE(real->availPhys, real->totalPhys);
    EXPECT_GE(real->load, 0);
    EXPECT_LE(real->load, 100);
    EXPECT_LT(real->availVirtual, real->totalVirtual);
}

TEST(Facts, SpaceMatchesStatvfsAndFailsToZero)
{
    const auto s = vx::facts::readSpace(QStringLiteral("/"));
    struct statvfs v{};
    ASSERT_EQ(::statvfs("/", &v), 0);
    EXPECT_EQ(s.total, static_cast<qint64>(v.f_blocks) * static_cast<qint64>(v.f_frsize));
    EXPECT_GT(s.total, 0);
    EXPECT_LE(s.freeToUser, s.total);
    const auto none = vx::facts::readSpace(QStringLiteral("/no/such/mount"));
    EXPECT_EQ(none.total, 0);
    EXPECT_EQ(none.freeToUser, 0);
}

TEST(Facts, ProcessesInPidOrderWithOurOwnProgram)
{
    QTemporaryDir dir;
    // A fake /proc: links that can be read, one that cannot, names that are no PID.
    for (const char *pid : {"100", "9", "1000"})
        QDir(dir.path()).mkpath(QString::fromLatin1(pid));
    ASSERT_EQ(::symlink("/usr/bin/nine", QFile::encodeName(dir.filePath("9/exe")).constData()), 0);
    ASSERT_EQ(::symlink("/usr/bin/thousand", QFile::encodeName(dir.filePath("1000/exe")).constData()), 0);
    QDir(dir.path()).mkpath(QStringLiteral("self"));
    EXPECT_EQ(vx::facts::processExecutables(dir.path()),
              (QStringList{QStringLiteral("/usr/bin/nine"), QStringLiteral("/usr/bin/thousand")}));

    const QStringList real = vx::facts::processExecutables();
    EXPECT_TRUE(real.contains(QCoreApplication::applicationFilePath())) << real.join(' ').toStdString();
}

TEST(Facts, HostProcessorAndSystemNames)
{
    const auto host = vx::facts::hostName();
    ASSERT_TRUE(host);
    char buf[300] = {};
    ::gethostname(buf, sizeof buf - 1);
    EXPECT_EQ(*host, QString::fromLocal8Bit(buf));

    QTemporaryDir dir;
    write(dir.filePath("cpuinfo"), "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\n"
                                   "model name\t: x\nstepping\t: 10\n\nprocessor\t: 1\ncpu family\t: 99\n");
    const auto p = vx::facts::readProcessor(dir.filePath("cpuinfo"));
    EXPECT_GE(p.count, 1);
    if (p.intel) {
        EXPECT_EQ(p.family, 6);
        EXPECT_EQ(p.model, 158);
        EXPECT_EQ(p.stepping, 10);
    }

    write(dir.filePath("os1"), "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n");
    write(dir.filePath("os2"), "NAME=Plain\n");
    EXPECT_EQ(vx::facts::osName({dir.filePath("none"), dir.filePath("os1")}), QStringLiteral("Debian GNU/Linux"));
    EXPECT_EQ(vx::facts::osName({dir.filePath("os2"), dir.filePath("os1")}), QStringLiteral("Plain"));
    EXPECT_EQ(vx::facts::osName({dir.filePath("none")}), QString());

    EXPECT_EQ(vx::facts::kernelVersion(QStringLiteral("6.1.0-13-amd64")), QStringLiteral("6.1.0"));
    EXPECT_EQ(vx::facts::kernelVersion(QStringLiteral("5.15.133.1-microsoft-standard-WSL2")), QStringLiteral("5.15.133"));
    EXPECT_EQ(vx::facts::kernelVersion(QStringLiteral("6.8-rc1")), QStringLiteral("6.8.0"));
    EXPECT_TRUE(vx::facts::kernelVersion().contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))));
    EXPECT_GT(vx::facts::uptimeMs(), 0);
}

} // namespace
