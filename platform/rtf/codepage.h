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
// Encodes `text` in code page `cp`; nullopt when a character has no mapping.
std::optional<QByteArray> encode(const QString &text, int cp);

// True for a byte that starts a two-byte character in a double-byte code page.
bool isLeadByte(unsigned char byte, int cp);

// Code page of an RTF \fcharset value (0 when it names none: ANSI, default, symbol).
int codePageOfCharset(int charset);

} // namespace vx::text
