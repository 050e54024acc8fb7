#pragma once
// A paragraph of more than 64K characters is held by the document in pieces
// of about 32K, each a block of its own, so that an edit lays out its piece
// again instead of the whole paragraph (seconds per key for megabytes). The
// breaks between pieces carry a mark in their character format, which undo
// and redo keep; the text, positions and copies the text box gives leave
// them out.
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>

#include <vector>

class QTextCursor;
class QTextDocument;

namespace vx::pieces {

constexpr qsizetype kLong = 1 << 16;
constexpr qsizetype kPiece = 1 << 15;

// `f` without the mark of a break between pieces (text typed into an empty
// piece takes the format of the break before it).
QTextCharFormat unmarked(QTextCharFormat f);

// Whether the break before `b` is one between pieces.
bool startsPiece(const QTextBlock &b);
// Whether the break after `b` is one between pieces.
bool endsPiece(const QTextBlock &b);
// Document positions of the breaks between pieces, ascending.
std::vector<int> breaks(const QTextDocument &doc);
// The document position of text position `textPos`, given breaks(): at a
// break, the position after it (`after`) or before it.
int docPosition(const std::vector<int> &breaks, int textPos, bool after);
// Inserts `text` (breaks "\n") at `c` in `format`, its long paragraphs in
// pieces: text the cursor's block already holds counts towards the first.
void insertText(QTextCursor &c, const QString &text, const QTextCharFormat &format);
// Cuts the blocks from `b` up to `end` (not included) longer than kLong into
// pieces, in the document's current edit.
void cutLong(QTextBlock b, const QTextBlock &end);
// `raw`, the document's characters from position `from` on, without the
// breaks between pieces (`at`, from breaks()).
QString withoutBreaks(const QString &raw, int from, const std::vector<int> &at);
// Joins the pieces of `doc` again (a copy to write or print).
void join(QTextDocument &doc);

} // namespace vx::pieces
