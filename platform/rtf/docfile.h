#pragma once
// Rewriting a document the user named, so that a failure at any moment leaves
// the old content somewhere the user finds it.
#include <QByteArray>
#include <QString>

namespace vx::text {

// Replaces the content of the file at `path` (created when missing) with
// `bytes`, through the suite's one save step (platform/core/savefile.h). A
// failure raises an error whose description is the reason in the user's
// words (no permission, no such folder, disk full, name too long, ...), and
// leaves the old content whole.
void writeDocument(const QString &path, const QByteArray &bytes);

} // namespace vx::text
