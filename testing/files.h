#pragma once
// Files the tests write and read back whole.
#include <QByteArray>
#include <QString>

namespace vxtest {

// Writes `bytes` to `path`, replacing what was there; a file that cannot be
// written fails the test (and gives false).
bool writeBytes(const QString &path, const QByteArray &bytes);
// Writes `bytes` as `name` in `folder`; the file's path.
QString writeIn(const QString &folder, const QString &name, const QByteArray &bytes);
// What `path` holds; empty when it cannot be read.
QByteArray readBytes(const QString &path);

} // namespace vxtest
