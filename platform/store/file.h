#pragma once
// The store's file work in plain POSIX calls: errors named as the classic run-time
// errors, whole-file reads, and replacement by a flushed temporary file renamed
// over the old one, so that a crash leaves the old or the new file.
#include "platform/core/fd.h"

#include <QByteArray>
#include <QString>

namespace vx::store::detail {

[[noreturn]] void failErrno(int e, const QString &path);
[[noreturn]] void failMissing(const QString &what);

using vx::Fd;

QByteArray native(const QString &path);
// mkdir -p; new folders are private, as XDG asks.
void makeDir(const QString &dir);
// Why a store file could not be read, besides an errno.
inline constexpr int kNotRegular = -1; // a FIFO, socket, device or folder
inline constexpr int kTooLarge = -2;   // beyond kMaxStoreBytes
inline constexpr qint64 kMaxStoreBytes = qint64(16) << 20;
// Reads the whole file; a missing file reads as empty. Only a regular file of
// at most kMaxStoreBytes is read (a FIFO or /dev/zero would never end; nothing
// waits on them). Returns 0, or an errno, kNotRegular or kTooLarge.
int readFile(const QByteArray &path, QByteArray &out, bool &exists);
// Before a rewrite: a file the user may not write is error 70, and so is a
// file with other hard links (a rename would leave them the old content).
// `name` is the store's path as the user knows it.
void checkReplaceable(const QByteArray &path, const QString &name);
// Raises the run-time error for what readFile returned.
[[noreturn]] void failRead(int problem, const QString &path);
void syncDir(const QByteArray &dir);
QByteArray dirOf(const QByteArray &path);
// Writes data to a temporary file beside path, flushes it and renames it over
// path. A path that is a symbolic link keeps it: the file it leads to (even one
// not there yet) is replaced.
void replaceFile(const QByteArray &path, const QByteArray &data);
// Temp files of writers killed mid-write beside the file `path` leads to
// (call with the lock held).
void removeStaleTemps(const QByteArray &path);

} // namespace vx::store::detail
