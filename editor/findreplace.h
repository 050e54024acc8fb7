#pragma once
// What the find and replace windows share.
#include <QString>

namespace findreplace {

inline const QString kNotFound = QStringLiteral("検索した単語は見つかりませんでした。");

// Finds `text` in the editor's text from its start (case-insensitive) and
// selects the match; says so when there is none. True when found.
bool findInEditor(const QString &text);

} // namespace findreplace
