#pragma once
// The replacement routine of the replace window: one pre-sized result buffer
// grown in blocks, instead of joining strings per occurrence.
#include <QString>

#include <vector>

namespace modStrReplace {

// `start` is 1-based (the part before it is copied unchanged); `count` -1
// replaces all; `compare` 0 exact, 1 case-insensitive.
QString ReplaceString(const QString &text, const QString &find, const QString &replacement, int start, int count,
                      int compare);

// 0-based positions of the matches ReplaceString replaces (same rules).
std::vector<qsizetype> ReplaceMatches(const QString &text, const QString &find, int start, int count, int compare);

} // namespace modStrReplace
