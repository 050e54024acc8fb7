#pragma once
// Control words of rich text that the reader looks up by name.
#include <QByteArrayView>

namespace vx::rtf {

inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
// 0..15, or -1 for a character that is no hexadecimal digit.
int hexDigit(char c);

// Destinations whose text is not part of the document.
bool skippedDestination(QByteArrayView word);
// The character a symbol word stands for (\emdash, \lquote, ...); 0 for none.
char16_t specialCharacter(QByteArrayView word);

} // namespace vx::rtf
