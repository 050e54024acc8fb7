#include "codepage.h"
#include "plaintext.h"

#include <gtest/gtest.h>

namespace {

using vx::text::decodePlain;
using vx::text::encodePlain;
using vx::text::TextFormat;

// Reads `bytes`, checks the text, and writes it back unchanged.
QByteArray roundTrip(const QByteArray &bytes, TextFormat &f, QString *text = nullptr)
{
    const auto s = decodePlain(bytes, &f);
    EXPECT_TRUE(s.has_value());
    if (!s)
        return {};
    if (text)
        *text = *s;
    return encodePlain(*s, f);
}

TEST(PlainText, Utf16WithEitherByteOrderMarkStaysUtf16)
{
    TextFormat f;
    QString text;
    // "メモ😀" and a CR LF, little and big endian.
    const QByteArray le("\xFF\xFE\xE1\x30\xE2\x30\x3D\xD8\x00\xDE\r\x00\n\x00", 14);
    EXPECT_EQ(roundTrip(le, f, &text), le);
    EXPECT_EQ(text, QString::fromUtf16(u"メモ😀\n"));
    EXPECT_EQ(f.encoding, TextFormat::Utf16Le);
    EXPECT_EQ(f.eol, QStringLiteral("\r\n"));
    const QByteArray be("\xFE\xFF\x30\xE1\x30\xE2\xD8\x3D\xDE\x00\x00\r\x00\n", 14);
    EXPECT_EQ(roundTrip(be, f, &text), be);
    EXPECT_EQ(text, QString::fromUtf16(u"メモ😀\n"));
    EXPECT_EQ(f.encoding, TextFormat::Utf16Be);

    // An edit is written in the same encoding, with its mark.
    EXPECT_EQ(encodePlain(QStringLiteral("A"), f), QByteArray("\xFE\xFF\x00\x41", 4));

    // Not whole UTF-16 (an odd length, a lone surrogate): bytes kept as they are.
    for (const QByteArray &broken : {QByteArray("\xFF\xFE\x41\x00\x42", 5), QByteArray("\xFF\xFE\x3D\xD8\x41\x00", 6)}) {
        EXPECT_EQ(roundTrip(broken, f), broken);
        EXPECT_EQ(f.encoding, TextFormat::Cp932);
        EXPECT_TRUE(f.rawBytes);
    }
}

TEST(PlainText, BytesNoEncodingReadsAreWrittenBackAsTheyWere)
{
    TextFormat f;
    QString text;
    // Latin-1, where some pairs happen to be CP932 characters ("é" + "t").
    const QByteArray latin1("caf\xE9 d\xE9j\xE0 vu\r\n\xE9t\xE9\r\n");
    EXPECT_EQ(roundTrip(latin1, f, &text), latin1);
    EXPECT_EQ(f.encoding, TextFormat::Cp932);
    EXPECT_TRUE(f.rawBytes);
    EXPECT_TRUE(text.startsWith(QStringLiteral("caf")));

    // CP932 pairs that iconv writes back as other bytes (the NEC-selected
    // and NEC row 13 forms of characters IBM and JIS also have) stay theirs.
    const QByteArray twins("\xED\x40\x87\x90\x82\xA0");
    EXPECT_EQ(roundTrip(twins, f, &text), twins);
    EXPECT_TRUE(text.endsWith(QStringLiteral("あ")));

    // Edited text keeps the kept bytes around the edit.
    const auto s = decodePlain(QByteArray("a\xFF" "b"), &f);
    ASSERT_TRUE(s);
    EXPECT_EQ(encodePlain(QStringLiteral("日") + *s, f), QByteArray("\x93\xFA" "a\xFF" "b"));
    // A character CP932 lacks turns the text to UTF-8; the kept byte stays a byte.
    EXPECT_EQ(encodePlain(QStringLiteral("é") + *s, f), QByteArray("\xC3\xA9" "a\xFF" "b"));
    EXPECT_EQ(f.encoding, TextFormat::Utf8);

    // Text read as UTF-8 never has bytes of its own: the same character is text.
    const QString pua(QChar(char16_t(vx::text::kRawByteBase + 0xE9)));
    EXPECT_EQ(roundTrip(pua.toUtf8(), f, &text), pua.toUtf8());
    EXPECT_FALSE(f.rawBytes);
    EXPECT_EQ(text, pua);
}

} // namespace
