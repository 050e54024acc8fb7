#include "codepage.h"
#include "plaintext.h"

#include <QRandomGenerator>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

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
    return encodePlain(*s, f).value_or("(unwritable)");
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

    // Text read as UTF-8 never has bytes of its own: the same character is text.
    const QString pua(QChar(char16_t(vx::text::kRawByteBase + 0xE9)));
    EXPECT_EQ(roundTrip(pua.toUtf8(), f, &text), pua.toUtf8());
    EXPECT_FALSE(f.rawBytes);
    EXPECT_EQ(text, pua);
}

// Reads `bytes`, lets `edit` change the text (lines joined by "\n") and writes it back.
QByteArray saved(const QByteArray &bytes, const std::function<void(QStringList &)> &edit)
{
    TextFormat f;
    const auto s = decodePlain(bytes, &f);
    EXPECT_TRUE(s.has_value());
    QStringList lines = s.value_or(QString()).split(QLatin1Char('\n'));
    edit(lines);
    return encodePlain(lines.join(QLatin1Char('\n')), f).value_or("(unwritable)");
}

TEST(PlainText, ASaveChangesOnlyTheLinesTheUserChanged)
{
    const auto none = [](QStringList &) {};
    const auto typeAtFirst = [](QStringList &l) { l[0].prepend(QLatin1Char('Z')); };
    const auto editSecond = [](QStringList &l) { l[1] += QLatin1Char('X'); };
    const auto insertSecond = [](QStringList &l) { l.insert(1, QStringLiteral("new")); };
    const auto splitFirst = [](QStringList &l) {
        const QString first = l[0];
        l[0] = first.left(1);
        l.insert(1, first.mid(1));
    };
    const auto dropSecond = [](QStringList &l) { l.removeAt(1); };
    const auto joinFirst = [](QStringList &l) { l[0] += l.takeAt(1); };
    const auto editFirstTwo = [](QStringList &l) {
        l[0] += QLatin1Char('X');
        l[1] += QLatin1Char('X');
    };
    const auto append = [](QStringList &l) { l.append(QStringLiteral("c")); };
    const auto editFarApart = [](QStringList &l) {
        l[1] += QLatin1Char('X');
        l[l.size() - 2] += QLatin1Char('Y');
    };
    struct Case {
        const char *what;
        QByteArray bytes;
        std::function<void(QStringList &)> edit;
        QByteArray expected;
    };
    // Every line of a long mixed file replaced: past what the search for
    // unchanged lines looks at, each line still keeps its break.
    QByteArray many, manyEdited;
    for (int k = 0; k < 3000; ++k) {
        static const char *const breaks[] = {"\n", "\r\n", "\r"};
        const QByteArray line = QByteArray::number(k);
        many += line + breaks[k % 3];
        manyEdited += line + "X" + breaks[k % 3];
    }
    // A large file with one line edited at its top and lines added far below.
    QByteArray large, largeEdited;
    for (int k = 0; k < 100000; ++k) {
        static const char *const breaks[] = {"\n", "\r\n", "\r"};
        const QByteArray line = QByteArray::number(k);
        if (k == 50000)
            largeEdited += QByteArray("new\n").repeated(200);
        large += line + breaks[k % 3];
        largeEdited += line + (k == 0 ? "X" : "") + breaks[k % 3];
    }
    const auto editAndAddFar = [](QStringList &l) {
        l[0] += QLatin1Char('X');
        for (int k = 0; k < 200; ++k)
            l.insert(50000, QStringLiteral("new"));
    };
    const auto editAll = [](QStringList &l) {
        for (qsizetype k = 0; k + 1 < l.size(); ++k)
            l[k] += QLatin1Char('X');
    };
    const Case cases[] = {
        {"a stray CR in an LF file", "progress 10%\rprogress 100%\nline2\nline3\n", typeAtFirst,
         "Zprogress 10%\rprogress 100%\nline2\nline3\n"},
        {"mixed, unedited", "a\r\nb\nc\r\n", none, "a\r\nb\nc\r\n"},
        {"mixed, LF first", "a\nb\r\nc\r\n", none, "a\nb\r\nc\r\n"},
        {"mixed, one line edited", "a\r\nb\nc\r\n", editSecond, "a\r\nbX\nc\r\n"},
        {"a new line takes the most common break", "a\nb\r\nc\r\n", insertSecond, "a\nnew\r\nb\r\nc\r\n"},
        {"a split line: its second half keeps the break", "ab\rc\nd\n", splitFirst, "a\nb\rc\nd\n"},
        {"a line removed", "a\rb\nc\r\nd", dropSecond, "a\rc\r\nd"},
        {"two lines joined", "a\rb\nc\r\n", joinFirst, "ab\nc\r\n"},
        {"two lines next to each other edited", "a\rb\nc\r\n", editFirstTwo, "aX\rbX\nc\r\n"},
        {"no final break stays missing", "a\r\nb", editSecond, "a\r\nbX"},
        {"a line added after a last line without break", "a\nb", append, "a\nb\nc"},
        {"edits far apart", "1\n2\r3\r\n4\n5\r6\r\n7\n8\r9\r\n", editFarApart, "1\n2X\r3\r\n4\n5\r6\r\n7\n8\r9Y\r\n"},
        {"every line of many", many, editAll, manyEdited},
        {"lines edited and added far apart", large, editAndAddFar, largeEdited},
        {"line and paragraph separators, noncharacters",
         "a\xE2\x80\xA8" "b\n\xE2\x80\xA9" "c\xEF\xB7\x90" "d\xEF\xB7\x91" "e\n", none,
         "a\xE2\x80\xA8" "b\n\xE2\x80\xA9" "c\xEF\xB7\x90" "d\xEF\xB7\x91" "e\n"},
        {"a line ending in U+2029 edited", "a\xE2\x80\xA9" "b\n", typeAtFirst, "Za\xE2\x80\xA9" "b\n"},
        {"a second byte order mark", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", none, "\xEF\xBB\xBF\xEF\xBB\xBF" "a"},
        {"a byte order mark alone", "\xEF\xBB\xBF", none, "\xEF\xBB\xBF"},
        {"an empty file", "", none, ""},
        {"CR LF pairs in bytes CP932 cannot read", "\x80\r\n\xFF\r\r\n\n\x81\r\n", typeAtFirst,
         "Z\x80\r\n\xFF\r\r\n\n\x81\r\n"},
        {"UTF-16, mixed", QByteArray("\xFF\xFE" "a\0\r\0b\0\n\0", 10), editSecond,
         QByteArray("\xFF\xFE" "a\0\r\0b\0X\0\n\0", 12)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(saved(c.bytes, c.edit), c.expected) << c.what;
}

TEST(PlainText, OneFileOneEncoding)
{
    struct Case {
        const char *what;
        QByteArray bytes;
        QString typed;
        std::optional<QByteArray> expected; // nullopt: the character is named
        std::optional<QByteArray> asUtf8;   // the whole file in UTF-8, when it can be
    };
    const QByteArray nihon("\x93\xFA\x96\x7B\r\n"); // 日本 in CP932
    const Case cases[] = {
        {"CP932 and a character it has", nihon, QStringLiteral("語"), QByteArray("\x8C\xEA\x93\xFA\x96\x7B\r\n"), {}},
        {"CP932 and one it lacks", nihon, QStringLiteral("é"), std::nullopt, QStringLiteral("é日本\r\n").toUtf8()},
        {"CP932 and one outside the first plane", nihon, QStringLiteral("😀"), std::nullopt,
         QStringLiteral("😀日本\r\n").toUtf8()},
        {"bytes CP932 does not read and one it lacks", "\x93\xFA\x80\n", QStringLiteral("é"), std::nullopt,
         std::nullopt},
        {"UTF-8 takes anything", QStringLiteral("日本\n").toUtf8(), QStringLiteral("é"),
         QStringLiteral("é日本\n").toUtf8(), {}},
        {"UTF-16 takes anything", QByteArray("\xFE\xFF\x65\xE5", 4), QStringLiteral("😀"),
         QByteArray("\xFE\xFF\xD8\x3D\xDE\x00\x65\xE5", 8), {}},
    };
    for (const Case &c : cases) {
        TextFormat f;
        const auto s = decodePlain(c.bytes, &f);
        ASSERT_TRUE(s) << c.what;
        QString unwritable;
        TextFormat written;
        const auto out = encodePlain(c.typed + *s, f, &written, &unwritable);
        EXPECT_EQ(out, c.expected) << c.what;
        if (c.expected) {
            EXPECT_EQ(written.encoding, f.encoding) << c.what;
            continue;
        }
        EXPECT_EQ(unwritable, c.typed) << c.what;
        const auto utf8 = vx::text::asUtf8(f);
        ASSERT_EQ(utf8.has_value(), c.asUtf8.has_value()) << c.what;
        if (utf8) {
            EXPECT_EQ(encodePlain(c.typed + *s, *utf8), c.asUtf8) << c.what;
        }
    }
}

// Random lines of any bytes but CR and LF, joined by random breaks, with or
// without a final one: an unedited save gives the bytes back, edits of some
// lines change those lines' bytes alone.
TEST(PlainText, RandomFilesKeepEveryLineTheEditLeft)
{
    QRandomGenerator rng(20261210);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int lines = 1 + int(rng.bounded(12));
        const bool ascii = rng.bounded(3) == 0;
        for (int l = 0; l < lines; ++l) {
            const int len = int(rng.bounded(8));
            for (int k = 0; k < len; ++k) {
                char b;
                do
                    b = char(ascii ? 0x20 + rng.bounded(0x5F) : rng.bounded(256));
                // Neither a break, nor a mark that picks UTF-16, nor the bytes of
                // UTF-8's own breaks.
                while (b == '\n' || b == '\r' || (bytes.isEmpty() && (uchar(b) == 0xFF || uchar(b) == 0xFE)) ||
                       uchar(b) == 0xE2 || uchar(b) == 0xEF);
                bytes += b;
            }
            if (l + 1 < lines || rng.bounded(2) == 0) {
                static const char *const breaks[] = {"\n", "\r\n", "\r"};
                bytes += breaks[rng.bounded(3)];
            }
        }
        ASSERT_EQ(saved(bytes, [](QStringList &) {}), bytes) << bytes.toHex().constData();

        // Where each line the reader sees ends (a CR before an LF is one break).
        std::vector<qsizetype> ends;
        for (qsizetype k = 0; k < bytes.size(); ++k) {
            if (bytes[k] == '\n' || (bytes[k] == '\r' && (k + 1 == bytes.size() || bytes[k + 1] != '\n')))
                ends.push_back(bytes[k] == '\n' && k > 0 && bytes[k - 1] == '\r' ? k - 1 : k);
        }
        ends.push_back(bytes.size());
        // A few lines edited, next to each other or not, each longer than any
        // line was (so no edit makes one line the same as another).
        std::vector<bool> edited(ends.size());
        for (int n = 1 + int(rng.bounded(4)); n > 0; --n)
            edited[rng.bounded(quint32(ends.size()))] = true;
        QByteArray expected = bytes;
        for (size_t k = ends.size(); k-- > 0;)
            if (edited[k])
                expected.insert(ends[k], "ZZZZZZZZ");
        const QByteArray out = saved(bytes, [&](QStringList &l) {
            for (size_t k = 0; k < ends.size(); ++k)
                if (edited[k])
                    l[qsizetype(k)] += QStringLiteral("ZZZZZZZZ");
        });
        std::string which;
        for (size_t k = 0; k < edited.size(); ++k)
            if (edited[k])
                which += " " + std::to_string(k);
        ASSERT_EQ(out, expected) << bytes.toHex().constData() << " edited" << which;
    }
}

} // namespace
