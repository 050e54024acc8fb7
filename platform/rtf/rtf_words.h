#pragma once
// Control words of rich text that the reader acts on, looked up by name.
#include <QByteArrayView>

#include <cstdint>

namespace vx::rtf {

inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
// 0..15, or -1 for a character that is no hexadecimal digit.
inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline bool isPlainText(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x80 && b != '\\' && b != '{' && b != '}' && b != '\r' && b != '\n' && b != '\0';
}
// The first byte from `p` on that is not plain ASCII text: most of a
// document, taken sixteen bytes at a time.
const char *plainEnd(const char *p, const char *end);

enum class Kw : std::uint8_t {
    Unknown,
    // Destinations: the tables, and those whose text is not part of the document.
    Fonttbl, Colortbl, Skipped,
    // Document and tables.
    Uc, U, Ansicpg, Deff, Red, Green, Blue, Fcharset, Cpg, Bin,
    // Characters.
    Par, Line, Row, Sect, Cell, Tab, Special,
    // Paragraph.
    Pard, Ql, Qc, Qr,
    // Character.
    Plain, F, Fs, B, I, Ul, Ulnone, Strike, Cf, Rtlch, Ltrch, Loch, Hich, Dbch, Af, Afs, Ab, Ai,
};

struct Word {
    Kw kw = Kw::Unknown;
    char16_t ch = 0; // what a Kw::Special stands for (\emdash, \lquote, ...)
};

// One hash probe or two per word, no allocation: documents hold a control
// word every few characters.
Word lookupWord(QByteArrayView name);

struct ControlWord {
    Word word;
    bool hasParam = false;
    qint64 param = 0; // a signed 32-bit value
};

// Reads the control word whose name starts at `p` (after the backslash), its
// parameter and the space that ends it: the position after them, or nullptr
// with `why` set when the word is damage.
const char *readControlWord(const char *p, const char *end, ControlWord &out, const char *&why);

} // namespace vx::rtf
