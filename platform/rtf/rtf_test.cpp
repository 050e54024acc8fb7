#include "codepage.h"
#include "plaintext.h"
#include "rtf.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace vx;

namespace {

struct TextRun {
    QString text;
    QString family;
    double size = 0;
    bool bold = false, italic = false, underline = false, strike = false;
    QRgb colour = 0;
    bool operator==(const TextRun &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TextRun &r)
{
    return os << '[' << r.text.toStdString() << '|' << r.family.toStdString() << ' ' << r.size << (r.bold ? " b" : "")
              << (r.italic ? " i" : "") << (r.underline ? " u" : "") << (r.strike ? " s" : "") << " #" << std::hex
              << r.colour << std::dec << ']';
}

// The document as formatting runs, neighbours of equal format joined; block
// breaks as "\n" runs with the block's alignment in `size`.
std::vector<TextRun> runs(const QTextDocument &doc)
{
    std::vector<TextRun> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            out.push_back({QStringLiteral("\n"), {}, double(int(b.previous().blockFormat().alignment()))});
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            TextRun r;
            r.text = it.fragment().text();
            const QStringList fams = f.fontFamilies().toStringList();
            r.family = fams.isEmpty() ? doc.defaultFont().family() : fams.first();
            r.size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : doc.defaultFont().pointSizeF();
            r.bold = f.fontWeight() >= QFont::DemiBold;
            r.italic = f.fontItalic();
            r.underline = f.fontUnderline();
            r.strike = f.fontStrikeOut();
            r.colour = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().rgb() : 0;
            if (!out.empty() && out.back().text != QLatin1String("\n")) {
                TextRun joined = out.back();
                joined.text = r.text;
                if (joined == r) {
                    out.back().text += r.text;
                    continue;
                }
            }
            out.push_back(r);
        }
    }
    return out;
}

bool load(const QByteArray &rtf, QTextDocument &doc) { return rtf::read(rtf, doc); }

QString plain(const QByteArray &rtf)
{
    QTextDocument doc;
    EXPECT_TRUE(load(rtf, doc)) << rtf.constData();
    return doc.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

TextRun runAt(const QTextDocument &doc, const QString &text)
{
    for (const TextRun &r : runs(doc))
        if (r.text.contains(text))
            return r;
    ADD_FAILURE() << "no run with " << text.toStdString();
    return {};
}

} // namespace

TEST(Rtf, RoundTripKeepsTextRunsAndAlignment)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("IPAPGothic"), 9));
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(16);
    bold.setFontFamilies({QStringLiteral("ＭＳ 明朝")});
    c.insertText(QStringLiteral("見出し {括弧} \\ back"), bold);
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centre);
    c.insertBlock(QTextBlockFormat());
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontItalic(true);
    red.setFontUnderline(true);
    c.insertText(QStringLiteral("赤い斜体"), red);
    QTextCharFormat strike;
    strike.setFontStrikeOut(true);
    c.insertText(QStringLiteral(" ｶﾀｶﾅ ～ 𠮷 é\tend"), strike);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.insertBlock(right);
    c.insertText(QStringLiteral("right"));
    c.insertBlock(QTextBlockFormat()); // the text ends with a line break

    const QByteArray bytes = rtf::write(doc);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg932"));
    for (char ch : bytes)
        ASSERT_TRUE(static_cast<unsigned char>(ch) < 0x80) << "the writer emits 7-bit text only";
    // Fallback bytes in CP932 for readers without Unicode: 見 is 0x8C 0xA9.
    EXPECT_TRUE(bytes.contains("\\uc2\\u-30325\\'8c\\'a9")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("\\strike  \\u-138\\'b6")) << "half-width kana has one fallback byte";

    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    ASSERT_TRUE(load(bytes, back)) << bytes.constData();
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(runs(back), runs(doc));
    EXPECT_EQ(back.lastBlock().previous().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    // A part only, as a selection is written.
    QTextDocument part;
    ASSERT_TRUE(load(rtf::write(doc, 3, 12), part));
    EXPECT_EQ(part.toPlainText(), doc.toPlainText().mid(3, 9));
}

TEST(Rtf, EmptyDocumentsAndTrailingParagraphMarks)
{
    QTextDocument empty;
    QTextDocument back;
    ASSERT_TRUE(load(rtf::write(empty), back));
    EXPECT_EQ(back.toPlainText(), QString());
    // Other writers close the last paragraph with \par before the last brace.
    EXPECT_EQ(plain("{\\rtf1\\ansi one\\par two\\par}"), QStringLiteral("one\ntwo"));
    EXPECT_EQ(plain("{\\rtf1\\ansi one\\par\\par}"), QStringLiteral("one\n"));
    EXPECT_EQ(plain("{\\rtf1\\ansi one\\line two}"), QStringLiteral("one\u2028two"));
}

// As a Japanese word processor writes it: \ansicpg932, a font table with
// \fcharset128 and a Japanese font name, double-byte \'hh pairs, a heading
// carried only by the associated forms.
TEST(Rtf, ReadsCodePageTextAndAssociatedFormatting)
{
    const QByteArray file =
        "{\\rtf1\\ansi\\ansicpg932\\uc1\\deff0\\deflang1033\\deflangfe1041"
        "{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2 Century;}"
        "{\\f1\\fmodern\\fcharset128\\fprq1 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9{\\*\\falt MS Mincho};}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\stylesheet{\\ql \\snext0 Normal;}}{\\info{\\title \\'95\\'b6\\'8f\\'91}{\\author x}}"
        "\\pard\\plain \\qc \\fs21\\dbch\\af1\\afs32\\ab \\loch\\f0 A\\dbch\\f1 \\'8c\\'a9\\'8f\\'6f\\'82\\'b5\\par"
        "\\pard\\plain \\ql \\f1\\fs21\\cf2 \\'96\\'7b\\'95\\'b6\\'81\\'60 {\\b\\uc2\\u26085\\'93\\'fa}\\'83e\\'83L\\'83X\\'83g"
        "\\par}";
    QTextDocument doc;
    ASSERT_TRUE(load(file, doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("A見出し\n本文～ 日テキスト"));
    EXPECT_EQ(doc.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const TextRun heading = runAt(doc, QStringLiteral("見出し"));
    EXPECT_TRUE(heading.bold) << heading;
    EXPECT_EQ(heading.size, 16) << heading;
    EXPECT_EQ(heading.family, QStringLiteral("ＭＳ 明朝"));
    const TextRun latin = runAt(doc, QStringLiteral("A"));
    EXPECT_FALSE(latin.bold) << latin;
    EXPECT_EQ(latin.size, 10.5);
    EXPECT_EQ(latin.family, QStringLiteral("Century"));
    const TextRun body = runAt(doc, QStringLiteral("本文"));
    EXPECT_EQ(body.colour, QColor(0, 0, 255).rgb());
    EXPECT_FALSE(body.bold);
    EXPECT_TRUE(runAt(doc, QStringLiteral("日")).bold);
}

// Word-style runs: right-to-left associated forms say nothing about this text.
TEST(Rtf, RightToLeftAssociatedFormsDoNotApply)
{
    QTextDocument doc;
    ASSERT_TRUE(load("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f31505\\fcharset128 MS Gothic;}}"
                     "{\\rtlch\\fcs1 \\ab\\af0\\afs20 \\ltrch\\fcs0 \\fs32\\loch\\af0\\hich\\af0\\dbch\\af31505 "
                     "\\hich\\af0\\dbch\\af31505\\loch\\f0 Title \\dbch\\uc2\\u26085\\'93\\'fa}\\par}",
                     doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Title 日"));
    const TextRun title = runAt(doc, QStringLiteral("Title"));
    EXPECT_FALSE(title.bold);
    EXPECT_EQ(title.size, 16);
    const TextRun kanji = runAt(doc, QStringLiteral("日"));
    EXPECT_FALSE(kanji.bold);
    EXPECT_EQ(kanji.size, 16);
    EXPECT_EQ(kanji.family, QStringLiteral("MS Gothic"));
}

TEST(Rtf, UnicodeFallbacksEscapesAndUnknownDestinations)
{
    // \uc2 with two fallback bytes; \uc0; "?" fallbacks; negative \u.
    EXPECT_EQ(plain("{\\rtf1\\ansi\\ansicpg932{\\uc2\\u26085\\'93\\'fa}\\u26412?\\uc0\\u-10174\\u-8265 x}"),
              QStringLiteral("日本𠮷x"));
    EXPECT_EQ(plain("{\\rtf1\\ansi a\\{b\\}c\\\\d\\tab e\\~f\\emdash\\ldblquote g\\rdblquote}"),
              QStringLiteral("a{b}c\\d\te\u00a0f\u2014\u201cg\u201d"));
    EXPECT_EQ(plain("{\\rtf1\\ansi {\\*\\unknown skip {nested} me}{\\pict\\pngblip 89504e47}"
                    "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}} \\'e9t\\'e9\\bin3 {}zx}"),
              QStringLiteral("shown étéx"));
    // A page break is a form feed; escaped control bytes are themselves.
    EXPECT_EQ(plain("{\\rtf1\\ansi\\ansicpg932 a\\page b\\'00\\'01\\'0b\\'1fc}"), QStringLiteral("a\fb") + QChar(0)
              + QStringLiteral("\x01\x0b\x1f" "c"));
    // Table cells keep apart, rows end paragraphs.
    EXPECT_EQ(plain("{\\rtf1\\ansi \\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c\\par}"),
              QStringLiteral("a\tb\t\nc"));
    // A file in code page 1252 without a font table.
    EXPECT_EQ(plain("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9}"), QStringLiteral("café"));
    // \ansicpg932 without fonts: double-byte pairs, a trail byte written as itself.
    EXPECT_EQ(plain("{\\rtf1\\ansi\\ansicpg932 \\'83e\\'83X\\'83g\\'81\\'60}"), QStringLiteral("テスト～"));
}

// Formatting words between escaped characters, the same bytes in other code
// pages, and tables that change after text used them.
TEST(Rtf, FormatAndCodePageFollowEveryChange)
{
    QTextDocument doc;
    ASSERT_TRUE(load("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9\\b  bold\\'e9\\b0\\i  it\\'e9\\cf1  x}", doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("café boldé ité x"));
    EXPECT_FALSE(runAt(doc, QStringLiteral("caf")).bold);
    EXPECT_TRUE(runAt(doc, QStringLiteral("bold")).bold);
    const TextRun it = runAt(doc, QStringLiteral("it"));
    EXPECT_TRUE(it.italic && !it.bold) << it;

    // 0xE9 is é in code page 1252, й in 1251 and half of a character in 932.
    EXPECT_EQ(plain("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}{\\f2\\fcharset128 C;}}"
                    "\\'e9{\\f1\\'e9}\\'e9{\\f2\\'e9\\'40}\\'e9}"),
              QStringLiteral("éйé\u9871é"));

    ASSERT_TRUE(load("{\\rtf1 {\\cf1 a}{\\colortbl;\\red255\\green0\\blue0;}{\\cf1 b}"
                     "{\\f3 c}{\\fonttbl{\\f3 Later;}}{\\f3 d}}",
                     doc));
    EXPECT_EQ(runAt(doc, QStringLiteral("a")).colour, 0u);
    EXPECT_EQ(runAt(doc, QStringLiteral("b")).colour, QColor(255, 0, 0).rgb());
    EXPECT_NE(runAt(doc, QStringLiteral("c")).family, QStringLiteral("Later"));
    EXPECT_EQ(runAt(doc, QStringLiteral("d")).family, QStringLiteral("Later"));
}

// Japanese text written as raw bytes, or as escaped lead bytes with their
// trail bytes as themselves, beside a picture of half a megabyte: read in
// time that grows with the size, not its square.
TEST(Rtf, LargeEightBitTextAndPicturesReadQuickly)
{
    constexpr int count = 128 * 1024;
    QByteArray b = "{\\rtf1\\ansi\\ansicpg932 {\\pict\\pngblip " + QByteArray(512 * 1024, 'a') + "}";
    b.reserve(b.size() + 7 * count + 8);
    for (int k = 0; k < count; ++k)
        b += "\x82\xa0"; // あ
    for (int k = 0; k < count; ++k)
        b += "\\'83e"; // テ
    b += "}";
    QTextDocument doc;
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(load(b, doc));
    EXPECT_LT(t.elapsed(), 10000) << "a second or less when it grows with the size";
    EXPECT_EQ(doc.toPlainText(), QString(count, QChar(0x3042)) + QString(count, QChar(0x30C6)));
}

TEST(Rtf, DamagedInputFailsQuietly)
{
    QTextDocument doc;
    const QByteArray bad[] = {
        "",
        "plain text",
        "{\\rtf1\\ansi unclosed",
        "{\\rtf1\\ansi text}}}extra",
        "{\\rtf1\\ansi \\u",
        "{\\rtf1\\ansi \\'",
        "{\\rtf1 \\bin99999999999 x}",
        "{\\rtf1 \\bin-5 x}",
        "{\\rtf1 \\" + QByteArray(100, 'a') + " x}",
    };
    for (const QByteArray &b : bad)
        EXPECT_FALSE(load(b, doc)) << b.constData();
    // Deep nesting: no stack is used, the reader refuses.
    EXPECT_FALSE(load("{\\rtf1" + QByteArray(200000, '{') + QByteArray(200000, '}') + "}", doc));
    EXPECT_TRUE(load("{\\rtf1" + QByteArray(500, '{') + "x" + QByteArray(500, '}') + "}", doc));
    // Out-of-range numbers, sizes and characters are damage, found while
    // reading: nothing of the document is kept.
    const QByteArray outOfRange[] = {
        "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0\\fs24 \\fs999999999 huge size"
        "\\fs-10 negative\\fs0 zero\\par}",
        "{\\rtf1 \\fs3277 x}",
        "{\\rtf1 \\fs1 x}",
        "{\\rtf1 \\fs0 x}",
        "{\\rtf1 \\fs-10 x}",
        "{\\rtf1 \\afs4000 x}",
        "{\\rtf1 c\\u-32769?d}",       // would wrap round to U+7FFF
        "{\\rtf1 c\\u1114112?d}",      // past U+10FFFF
        "{\\rtf1 c\\u-10174?d}",       // a high surrogate alone
        "{\\rtf1 c\\u-8265?d}",        // a low surrogate alone
        "{\\rtf1 c\\u-10174?\\u-10174?d}",
        "{\\rtf1{\\colortbl;\\red99999999999;} x}",
        "{\\rtf1 \\f-99999999999 x}",
        "{\\rtf1 \\uc4294967297 x}",
        "{\\rtf1 \\cf2147483648 x}",
    };
    for (const QByteArray &b : outOfRange) {
        QTextDocument fresh;
        EXPECT_FALSE(load(b, fresh)) << b.constData();
    }
    // The limits themselves, a pair of halves and a character past U+FFFF,
    // 32-bit extremes, and indexes past their tables (the default is used).
    EXPECT_TRUE(load("{\\rtf1 {\\fs2 a}{\\fs3276 b}\\u-10179?\\u-8704?\\u70000?\\li-2147483648\\ri2147483647 "
                     "{\\cf9 c}{\\f7 d}}",
                     doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("ab\U0001F600\U00011170cd"));
    QTextCursor at(&doc);
    at.setPosition(1);
    EXPECT_EQ(at.charFormat().fontPointSize(), 1.0);
    at.setPosition(2);
    EXPECT_EQ(at.charFormat().fontPointSize(), 1638.0);
    // Noncharacters are text, code units past 32767 written negative or not.
    EXPECT_EQ(plain("{\\rtf1 a\\u-1?b\\u65534?c\\u-529?d\\u65007?e\\u131071?f\\uc0\\u-9217 \\u-8193 g}"),
              QStringLiteral("a\uFFFFb\uFFFEc\uFDEFd\uFDEFe\U0001FFFFf\U0010FFFFg"));
    EXPECT_TRUE(load("{\\rtf1 a\\u64976?b}", doc));
    EXPECT_TRUE(load("{\\rtf1{\\fonttbl{\\f0 A\\u-1?;}} x}", doc));
    // Truncating a good file anywhere never crashes.
    QTextDocument src;
    QTextCursor(&src).insertText(QStringLiteral("日本語 text {x}\nline"));
    const QByteArray good = rtf::write(src);
    ASSERT_TRUE(good.endsWith("}\n"));
    for (qsizetype n = 0; n < good.size() - 1; ++n)
        EXPECT_FALSE(load(good.left(n), doc)) << n;
}

TEST(Rtf, RandomMutationsNeverCrash)
{
    QTextDocument src;
    QTextCursor c(&src);
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("見出し\n本文 text ～"), f);
    const QByteArray good = rtf::write(src) + "{\\*\\x{\\uc2\\u1\\'81\\'40\\bin2 ab}}";
    QRandomGenerator rng(12);
    QTextDocument doc;
    for (int round = 0; round < 3000; ++round) {
        QByteArray b = good;
        const int edits = 1 + static_cast<int>(rng.bounded(6));
        for (int e = 0; e < edits; ++e) {
            const int at = static_cast<int>(rng.bounded(static_cast<quint32>(b.size())));
            static const char pieces[] = "{}\\'09az-;\x81\xff";
            b[at] = pieces[rng.bounded(static_cast<quint32>(sizeof pieces - 1))];
        }
        rtf::read(b, doc);
    }
    SUCCEED();
}

TEST(PlainText, EncodingsAndLineBreaksSurviveARoundTrip)
{
    text::TextFormat f;
    auto s = text::decodePlain(QByteArray("\x93\xfa\x96\x7b\x81\x60\r\nline2\r\n"), &f);
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, QStringLiteral("日本～\nline2\n"));
    EXPECT_EQ(f.encoding, text::TextFormat::Cp932);
    EXPECT_EQ(f.eol, QStringLiteral("\r\n"));
    EXPECT_EQ(text::encodePlain(*s, f), QByteArray("\x93\xfa\x96\x7b\x81\x60\r\nline2\r\n"));

    s = text::decodePlain(QByteArray("\xEF\xBB\xBF\xE6\x97\xA5\nx"), &f);
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, QStringLiteral("日\nx"));
    EXPECT_EQ(f.encoding, text::TextFormat::Utf8);
    EXPECT_TRUE(f.bom);
    EXPECT_EQ(f.eol, QStringLiteral("\n"));
    EXPECT_EQ(text::encodePlain(*s, f), QByteArray("\xEF\xBB\xBF\xE6\x97\xA5\nx"));

    // Text CP932 cannot hold is not written in it, and never silently in another.
    text::TextFormat sjis;
    sjis.encoding = text::TextFormat::Cp932;
    QString unwritable;
    EXPECT_EQ(text::encodePlain(QStringLiteral("aé😀"), sjis, nullptr, &unwritable), std::nullopt);
    EXPECT_EQ(unwritable, QStringLiteral("é"));

    // UTF-8 that spells the replacement character is still UTF-8; a cut-off
    // sequence is not, and reads as CP932.
    s = text::decodePlain(QByteArray("\xEF\xBF\xBD\xE6\x97\xA5"), &f);
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, QStringLiteral("\uFFFD日"));
    EXPECT_EQ(f.encoding, text::TextFormat::Utf8);
    s = text::decodePlain(QByteArray("\xE6\x97\xA5\xE6\x97"), &f);
    ASSERT_TRUE(s);
    EXPECT_EQ(f.encoding, text::TextFormat::Cp932);
    EXPECT_FALSE(s->contains(QChar::ReplacementCharacter));

    // Neither UTF-8 nor CP932: read as CP932 with every byte kept.
    s = text::decodePlain(QByteArray("\x81\x20\xff\xfe"), &f);
    ASSERT_TRUE(s);
    EXPECT_EQ(text::encodePlain(*s, f), QByteArray("\x81\x20\xff\xfe"));
    EXPECT_TRUE(text::isRichText("{\\rtf1 x}"));
    EXPECT_FALSE(text::isRichText(" {\\rtf1 x}"));
}
