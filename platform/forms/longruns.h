#pragma once
// The line wrapping for text holding long runs without break opportunities
// (hex digits, say): between words below a few thousand characters, anywhere
// above.
#include <QStringView>
#include <QTextBlock>
#include <QTextOption>

namespace vx {

// Whether `text` holds a run too long to wrap between words.
bool holdsLongRun(QStringView text);
QTextOption::WrapMode wrapFor(bool longRun);
// Whether a block from `b` up to `end` (not included) holds such a run.
bool anyLongRun(QTextBlock b, const QTextBlock &end);

} // namespace vx
