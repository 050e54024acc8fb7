#pragma once
// Byte text in Windows code pages, through iconv: CP932 is iconv's "CP932"
// (Qt's SHIFT_JIS rejects what Windows writes, such as "～").
#include <QByteArray>
#include <QString>

#include <optional>

namespace vx::text {

// Decodes `bytes` in code page `cp` (932, 1252, 936, ...). Bytes the code page
// does not map become U+FFFD; nullopt when the code page is unknown here.
std::optional<QString> decode(const QByteArray &bytes, int cp);
// Strict decoding: nullopt when any byte sequence is invalid.
std::optional<QString> decodeStrict(const QByteArray &bytes, int cp);
// Encodes `text` in code page `cp`; nullopt when a character has no mapping
// (`*bad` its index).
std::optional<QByteArray> encode(const QString &text, int cp, qsizetype *bad = nullptr);

// CP932 text whose every byte survives a round trip: a byte, or a pair, that
// stands for no character written back as the same bytes is held as the
// character kRawByteBase + byte (a private-use character iconv's CP932 never
// gives). `raw` tells whether any was.
inline constexpr char16_t kRawByteBase = 0xF700;
QString decodeCp932Keeping(const QByteArray &bytes, bool *raw);
// The reverse: kRawByteBase + 0x00..0xFF give their byte back; nullopt when
// another character has no CP932 form (`*bad` its index).
std::optional<QByteArray> encodeCp932Keeping(const QString &text, qsizetype *bad = nullptr);
inline bool isRawByte(QChar c) { return c.unicode() >= kRawByteBase && c.unicode() <= kRawByteBase + 0xFF; }
// Appends `text` to `out`: kept bytes as their byte, each stretch between them
// as `encodeRun(QStringView, QByteArray &out)` writes it (false stops: nullopt).
template <typename EncodeRun>
std::optional<QByteArray> withRawBytes(const QString &text, EncodeRun encodeRun)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isRawByte(text[i]))
            continue;
        if (i > from && !encodeRun(QStringView(text).sliced(from, i - from), out))
            return std::nullopt;
        if (i < text.size())
            out += char(text[i].unicode() - kRawByteBase);
        from = i + 1;
    }
    return out;
}

// True for a byte that starts a two-byte character in a double-byte code page.
bool isLeadByte(unsigned char byte, int cp);

// Code page of an RTF \fcharset value (0 when it names none: ANSI, default, symbol).
int codePageOfCharset(int charset);

} // namespace vx::text
