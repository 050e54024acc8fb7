#pragma once
// Path helpers of the archive window. Paths here use '/' where the original
// used '\'.
#include <QString>

namespace ArcsmpCommon {

// Folder part of `path` with its trailing '/'; `fileName` the rest, `baseName`
// the file name before its last '.'. A path without '/' raises error 5.
QString SplitArchivePath(const QString &path, QString &baseName, QString &fileName);
// `text` without the file name's extension: a dot in a folder name or at the
// start of the file name is not one. An empty text raises error 5.
QString StripExtension(const QString &text);
// "" when `text` ends in '/', else "/".
QString PathSeparatorFor(const QString &text);

} // namespace ArcsmpCommon

namespace mdlDesktop {
// The user's desktop folder without a trailing '/'; created when missing.
QString GetDesktopPath();
} // namespace mdlDesktop
