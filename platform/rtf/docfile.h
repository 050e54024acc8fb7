#pragma once
// Rewriting a document the user named, so that a failure at any moment leaves
// the old content somewhere the user finds it.
#include <QByteArray>
#include <QString>

namespace vx::text {

// Replaces the content of the file at `path` (created when missing) with
// `bytes`. A file the user may not write raises 70 and is left alone, as is
// anything that is not a regular file (75). A file with one name is written
// to a temporary file that is renamed over it. A file with several names
// (hard links) is rewritten in place, so every name shows the new content:
// first a copy of the old content is kept beside it (".name.keep-XXXXXX",
// removed once the new content is on the disk, and by the next save of the
// same file when a crash left it), so a failure part-way leaves the old
// content in the copy. Any other failure raises 75.
void writeDocument(const QString &path, const QByteArray &bytes);

} // namespace vx::text
