#pragma once
// Which of a text's lines stand for which lines of the text it was before,
// matched by their fingerprints: a save keeps the break of each line that
// stands for one it read.
#include <QtGlobal>

#include <vector>

namespace vx::text {

// For each new line the old line it stands for, or -1 (a line added).
using LinePairs = std::vector<qsizetype>;

// For each of `b`'s lines the line of `a` it stands for, or -1.
LinePairs pairLines(const std::vector<quint64> &a, const std::vector<quint64> &b);

} // namespace vx::text
