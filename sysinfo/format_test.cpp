#include "sysinfo/format.h"

#include <gtest/gtest.h>

namespace {

TEST(SysinfoFormat, SizesInSixtyFourBitsWithGroupedDigits)
{
    EXPECT_EQ(sysinfo::bytesText(0), QStringLiteral("0バイト"));
    EXPECT_EQ(sysinfo::bytesText(999), QStringLiteral("999バイト"));
    EXPECT_EQ(sysinfo::bytesText(1000), QStringLiteral("1,000バイト"));
    // 3 GB: negative in a 32-bit count.
    EXPECT_EQ(sysinfo::bytesText(3221225472LL), QStringLiteral("3,221,225,472バイト"));
    EXPECT_EQ(sysinfo::groupDigits(-1234567), QStringLiteral("-1,234,567"));
}

TEST(SysinfoFormat, UptimeKeepsEveryHour)
{
    EXPECT_EQ(sysinfo::uptimeText(0), QStringLiteral("起動時間  00時間00分00秒"));
    EXPECT_EQ(sysinfo::uptimeText(((3 * 60 + 4) * 60 + 5) * 1000LL + 999), QStringLiteral("起動時間  03時間04分05秒"));
    // 123 hours, and 30 days: beyond what a 32-bit tick count holds.
    EXPECT_EQ(sysinfo::uptimeText(123LL * 3600 * 1000 + 59 * 1000), QStringLiteral("起動時間  123時間00分59秒"));
    EXPECT_EQ(sysinfo::uptimeText(30LL * 24 * 3600 * 1000), QStringLiteral("起動時間  720時間00分00秒"));
}

TEST(SysinfoFormat, DriveShareAndZeroSizedDrive)
{
    EXPECT_EQ(sysinfo::usedPercent(0, 0), 0);
    EXPECT_EQ(sysinfo::usedPercent(1000, 250), 75);
    EXPECT_EQ(sysinfo::usedPercent(qint64(8) << 40, qint64(2) << 40), 75);
    EXPECT_EQ(sysinfo::usedPercent(1000, 5000), 0);
}

TEST(SysinfoFormat, ProcessorRowsByFamilyModelAndStepping)
{
    vx::facts::Processor p;
    p.intel = true;
    p.count = 8;
    p.family = 6;
    p.model = 158;
    p.stepping = 10;
    EXPECT_EQ(sysinfo::processorRows(p),
              (QStringList{QStringLiteral("構造\tINTEL"), QStringLiteral("数\t8"), QStringLiteral("タイプ\tPentium"),
                           QStringLiteral("レベル\tPentium Pro/II/III/4"), QStringLiteral("リビジョン\t9E0A")}));
    p.family = 15; // a later family: the type stays, the level is unknown
    EXPECT_EQ(sysinfo::processorRows(p)[2], QStringLiteral("タイプ\tPentium"));
    EXPECT_EQ(sysinfo::processorRows(p)[3], QStringLiteral("レベル\t不明"));
    p.family = 4;
    EXPECT_EQ(sysinfo::processorRows(p)[2], QStringLiteral("タイプ\t486"));
    EXPECT_EQ(sysinfo::processorRows(p)[3], QStringLiteral("レベル\t80486"));
    p.intel = false;
    const QStringList other = sysinfo::processorRows(p);
    EXPECT_EQ(other[0], QStringLiteral("構造\t不明"));
    EXPECT_EQ(other[1], QStringLiteral("数\t8"));
    EXPECT_EQ(other[4], QStringLiteral("リビジョン\t不明"));
}

TEST(SysinfoFormat, LeadingNumberOfACommandLine)
{
    EXPECT_EQ(sysinfo::leadingNumber(QString()), 0);
    EXPECT_EQ(sysinfo::leadingNumber(QStringLiteral("  64 --x")), 64);
    EXPECT_EQ(sysinfo::leadingNumber(QStringLiteral("12.6MB")), 12.6);
    EXPECT_EQ(sysinfo::leadingNumber(QStringLiteral("-5")), -5);
    EXPECT_EQ(sysinfo::leadingNumber(QStringLiteral("abc 9")), 0);
}

} // namespace
