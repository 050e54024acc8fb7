#pragma once
// Plain text documents: read as UTF-16 when they begin with its byte order
// mark, as UTF-8 when the bytes are valid UTF-8, else as CP932 keeping every
// byte (codepage.h), and written back in the encoding they came with, each
// line the save finds unchanged with the break it had.
#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace vx::text {

// The lines of a file as read or last written: a fingerprint of each and the
// break that ends it.
struct LineLayout;

struct TextFormat {
    enum Encoding { Utf8, Cp932, Utf16Le, Utf16Be };
    Encoding encoding = Utf8;
    bool bom = false;
    // What a new line ends with: the file's most common break.
    QString eol = QStringLiteral("\r\n");
    // The text holds bytes no character stood for (text::kRawByteBase + byte):
    // they are written back as those bytes.
    bool rawBytes = false;
    // A document that came from no file ends with eol once written.
    bool finalBreak = true;
    std::shared_ptr<const LineLayout> layout;
    // The rich text the document was read from (none for plain text): its
    // file is saved as rich text, byte for byte while nothing changed.
    std::shared_ptr<const QByteArray> rich;
    bool operator==(const TextFormat &) const = default;
};

// Whether `c` ends a line: CR, LF (CR LF is one break), U+2029 and the
// U+FDD0, U+FDD1 the text document takes for breaks as well.
inline bool isBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == '\n' || u == '\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

// The text with "\n" for each line break (or, with keepBreaks, the breaks as
// they are, for a reader that takes every kind itself), and the format it was
// read in. Every byte sequence reads.
std::optional<QString> decodePlain(const QByteArray &bytes, TextFormat *format, bool keepBreaks = false);

// `text` (lines split at the breaks isBreak names) in `format`'s encoding:
// every line as the file had it keeps its break, a line that took the place
// of others the last one's, any other line `eol`; the last line keeps having
// none (or its eol for a document that came from no file). `written` takes
// the format of the bytes returned. nullopt when a character has no form in
// the encoding: `unwritable` then takes the first such.
std::optional<QByteArray> encodePlain(const QString &text, const TextFormat &format, TextFormat *written = nullptr,
                                      QString *unwritable = nullptr);

// The format to write `format`'s text in UTF-8 instead (nullopt when it holds
// bytes no character stood for, which UTF-8 cannot keep).
std::optional<TextFormat> asUtf8(const TextFormat &format);

// The name of `format`'s encoding as the user knows it.
QString encodingName(const TextFormat &format);

// "「é」(U+00E9) は Shift_JIS で保存できない文字です。" for `character`.
QString unwritableMessage(const QString &character, const TextFormat &format);

// True when `bytes` begin a rich text document.
bool isRichText(const QByteArray &bytes);

} // namespace vx::text
