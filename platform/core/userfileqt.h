#pragma once
// The user-file steps (userfile.h) for Qt callers.
#include "platform/core/userfile.h"
#include <QByteArray>
#include <QFile>
#include <QString>

namespace vx {

using UserFileStatus = userfile::Status;

// Opens `path` into `file` (read only) when it is a regular file of at most
// maxBytes (userfile::kNoLimit for none). The file owns the descriptor.
UserFileStatus openUserFile(QFile &file, const QString &path, qint64 maxBytes);

// The whole file, by the same rules; `out` is empty on failure.
UserFileStatus readUserFile(const QString &path, qint64 maxBytes, QByteArray &out);

// Whether a save may replace `path` (userfile::checkSaveTarget).
UserFileStatus checkSaveTarget(const QString &path);

// The classic error number for a failed open: 53 missing, 70 denied,
// 75 not a regular file or too large, 57 anything else.
int userFileErrorNumber(UserFileStatus status);

// Throws the error of userFileErrorNumber() naming `path` unless status is Ok.
void raiseForUserFile(UserFileStatus status, const QString &path);

} // namespace vx
