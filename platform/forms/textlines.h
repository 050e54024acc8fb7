#pragma once
// Lines as a document lays them out (wrapped lines count); a block not laid
// out yet counts as one line.
class QTextDocument;

namespace vx {

// The line holding character `pos` (clamped to the text).
int lineOfChar(const QTextDocument &doc, int pos);
// The first character of the line holding `pos`.
int lineStartAt(const QTextDocument &doc, int pos);
// The length of the line holding `pos`, without the break ending its block.
int lineLengthAt(const QTextDocument &doc, int pos);

} // namespace vx
