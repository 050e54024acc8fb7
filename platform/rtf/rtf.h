#pragma once
// Rich text format of our own (Qt reads and writes none): the font and colour
// tables, bold, italic, underline, strike-through, size, colour, paragraphs and
// their alignment, Unicode and code-page text. No widgets: the reader is fuzzed.
#include <QByteArray>
#include <QString>

class QTextDocument;

namespace vx::rtf {

// Replaces `doc`'s content with the document in `data`. False (and `doc`
// left in an unspecified state) when `data` is not well-formed rich text:
// no "{\rtf" header, unbalanced braces, nesting too deep, cut off.
bool read(const QByteArray &data, QTextDocument &doc, QString *error = nullptr);

// `doc` (or the characters from `from` to `to` of it) as rich text: code page
// 932, every non-ASCII character as \uN with its CP932 bytes as the fallback,
// a form feed as \page (read back as one), other controls as escaped bytes:
// whatever the document holds, read() gives back.
QByteArray write(const QTextDocument &doc, int from = 0, int to = -1);

} // namespace vx::rtf
