#include "modstrreplace.h"

#include <gtest/gtest.h>

using modStrReplace::ReplaceMatches;
using modStrReplace::ReplaceString;

TEST(ReplaceString, MatchesDoNotOverlapAndStartAndCountHold)
{
    EXPECT_EQ(ReplaceString(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("b"), 1, -1, 0),
              QStringLiteral("ba"));
    EXPECT_EQ(ReplaceString(QStringLiteral("abcabc"), QStringLiteral("a"), QStringLiteral("X"), 3, -1, 0),
              QStringLiteral("abcXbc"));
    EXPECT_EQ(ReplaceString(QStringLiteral("abcabc"), QStringLiteral("a"), QStringLiteral("X"), 1, 1, 0),
              QStringLiteral("Xbcabc"));
    EXPECT_EQ(ReplaceString(QStringLiteral("abcabc"), QStringLiteral("a"), QStringLiteral("X"), 1, 0, 0),
              QStringLiteral("abcabc"));
    EXPECT_EQ(ReplaceString(QStringLiteral("abc"), QString(), QStringLiteral("X"), 1, -1, 0), QStringLiteral("abc"));
    EXPECT_EQ(ReplaceString(QStringLiteral("abc"), QStringLiteral("a"), QStringLiteral("X"), 4, -1, 0),
              QStringLiteral("abc"));
    EXPECT_EQ(ReplaceString(QString(), QStringLiteral("a"), QStringLiteral("X"), 1, -1, 0), QString());
    EXPECT_EQ(ReplaceString(QStringLiteral("xabcx"), QStringLiteral("abc"), QString(), 1, -1, 0),
              QStringLiteral("xx"));
}

TEST(ReplaceString, CompareModes)
{
    EXPECT_EQ(ReplaceString(QStringLiteral("ABC abc"), QStringLiteral("abc"), QStringLiteral("x"), 1, -1, 0),
              QStringLiteral("ABC x"));
    EXPECT_EQ(ReplaceString(QStringLiteral("ABC abc"), QStringLiteral("abc"), QStringLiteral("x"), 1, -1, 1),
              QStringLiteral("x x"));
}

TEST(ReplaceString, LongReplacementsGrowTheBufferWithoutCuttingAnything)
{
    const QString longer(40001, QLatin1Char('r'));
    const QString out = ReplaceString(QStringLiteral("-a-a-a-"), QStringLiteral("a"), longer, 1, -1, 0);
    ASSERT_EQ(out.size(), 4 + 3 * 40001);
    EXPECT_EQ(out, QStringLiteral("-") + longer + QStringLiteral("-") + longer + QStringLiteral("-") + longer
                       + QStringLiteral("-"));
    // Many small growths in a row.
    QString text;
    for (int i = 0; i < 70000; ++i)
        text += QLatin1Char('a');
    EXPECT_EQ(ReplaceString(text, QStringLiteral("a"), QStringLiteral("bb"), 1, -1, 0), QString(140000, QLatin1Char('b')));
}

TEST(ReplaceString, MatchPositionsAreWhatTheRoutineReplaces)
{
    EXPECT_EQ(ReplaceMatches(QStringLiteral("aaaa aa"), QStringLiteral("aa"), 1, -1, 0),
              (std::vector<qsizetype>{0, 2, 5}));
    EXPECT_EQ(ReplaceMatches(QStringLiteral("abcabc"), QStringLiteral("a"), 3, -1, 0), (std::vector<qsizetype>{3}));
    EXPECT_EQ(ReplaceMatches(QStringLiteral("abcabc"), QStringLiteral("a"), 1, 1, 0), (std::vector<qsizetype>{0}));
    EXPECT_TRUE(ReplaceMatches(QStringLiteral("abc"), QString(), 1, -1, 0).empty());
}
