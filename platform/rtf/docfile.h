#pragma once
// Rewriting a document the user named, so that a failure at any moment leaves
// the old content somewhere the user finds it.
#include <QByteArray>
#include <QString>

namespace vx::text {

// Replaces the content of the file at `path` (created when missing) with
// `bytes`. A file with one name is written to a new file beside it
// (".name.vxtmp-XXXXXX") that is renamed over it once on the disk; a file
// with several names (hard links) is rewritten in place, so every name shows
// the new content, after a copy of the old content is kept beside it
// (".name.keep-XXXXXX", removed once the new content is on the disk). Side
// names are cut to fit beside a name of 255 bytes; what a killed save left is
// removed by the next save of the same file. Nothing is written over a file
// the user may not write or over anything that is not a regular file. A
// failure raises an error whose description is the reason in the user's
// words (no permission, no such folder, disk full, name too long, ...), and
// leaves the old content whole.
void writeDocument(const QString &path, const QByteArray &bytes);

} // namespace vx::text
