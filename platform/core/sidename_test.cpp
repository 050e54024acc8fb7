#include "platform/core/sidename.h"

#include <gtest/gtest.h>

using namespace vx::sidename;

namespace {
bool validUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (len == 0 || i + len > s.size())
            return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

std::string repeat(std::string_view s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}
} // namespace

TEST(SideName, ShortNamesStayAsTheyAreAndLongOnesFitWholeCharacters)
{
    EXPECT_EQ(prefix("memo.txt", "vxtmp-", 6), ".memo.txt.vxtmp-");

    // Every cut point through three-byte and four-byte characters, and ASCII.
    for (const std::string_view unit : {"本", "𠀋", "a", "é"}) {
        for (int extra = 0; extra < 4; ++extra) {
            const std::string name = repeat("x", extra) + repeat(unit, 300);
            const std::string cutBase(wholeCharsPrefix(name, 255));
            ASSERT_TRUE(validUtf8(cutBase));
            for (const std::size_t unique : {6u, 8u, 20u}) {
                const std::string p = prefix(cutBase, "vxtmp-", unique);
                EXPECT_LE(p.size() + unique, kNameMax) << unit << extra << unique;
                EXPECT_TRUE(validUtf8(p)) << unit << extra << unique;
                EXPECT_GE(p.size() + unique, kNameMax - 3) << "cut more than one character";
            }
        }
    }
}

TEST(SideName, TwoLongNamesThatBeginAlikeGetPrefixesOfTheirOwnAndTheSameNameAlwaysTheSame)
{
    const std::string common = repeat("本", 80);
    const std::string a = common + "A.mp3", b = common + "B.mp3";
    EXPECT_NE(prefix(a, "vxtag-", 6), prefix(b, "vxtag-", 6));
    EXPECT_EQ(prefix(a, "vxtag-", 6), prefix(std::string(a), "vxtag-", 6));
    // A name that is not UTF-8 (Latin-1 from an old archive) is cut as bytes.
    const std::string latin = repeat("\xe9", 260);
    EXPECT_LE(prefix(latin, "keep-", 6).size() + 6, kNameMax);
}
