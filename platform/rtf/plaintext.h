#pragma once
// Plain text documents: read as UTF-16 when they begin with its byte order
// mark, as UTF-8 when the bytes are valid UTF-8, else as CP932 keeping every
// byte (codepage.h), and written back in the encoding and line breaks they
// came with.
#include <QByteArray>
#include <QString>

#include <optional>

namespace vx::text {

struct TextFormat {
    enum Encoding { Utf8, Cp932, Utf16Le, Utf16Be };
    Encoding encoding = Utf8;
    bool bom = false;
    QString eol = QStringLiteral("\r\n");
    // The text holds bytes no character stood for (text::kRawByteBase + byte):
    // they are written back as those bytes.
    bool rawBytes = false;
    bool operator==(const TextFormat &) const = default;
};

// The text with "\n" line breaks (or, with keepBreaks, the breaks as they
// are, for a reader that takes every kind itself: a second pass over a large
// text costs as much as the decoding), and the format it was read in. Every
// byte sequence reads.
std::optional<QString> decodePlain(const QByteArray &bytes, TextFormat *format, bool keepBreaks = false);

// `text` (line breaks "\n", "\r\n" or "\r") in `format`'s encoding and line
// breaks. Text that CP932 cannot hold is written as UTF-8, and `format` says
// so (kept bytes stay the bytes they were).
QByteArray encodePlain(const QString &text, TextFormat &format);

// True when `bytes` begin a rich text document.
bool isRichText(const QByteArray &bytes);

} // namespace vx::text
