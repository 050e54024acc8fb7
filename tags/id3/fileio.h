#pragma once
// Plain POSIX file work for the tag module: errors as the classic run-time
// errors, positioned reads, and its way into the suite's save step.
#include "platform/core/fd.h"
#include "platform/core/savefile.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace ID3Module::io {

class Fd : public vx::Fd {
public:
    using vx::Fd::Fd;
    // Closes and reports a failed close (a write-back error shows up there).
    void close(const QString &path);
};

QByteArray native(const QString &path);
[[noreturn]] void fail(int e, const QString &path);

// The largest file the module reads or rewrites: positions are 32-bit and
// signed, as the editor keeps them (a 4 GB sparse file is refused at once).
inline constexpr qint64 kMaxFileBytes = (qint64(1) << 31) - 1;
// Opens a regular file for reading through the user-file steps (never a
// blocking open: a FIFO, device or folder fails at once, as does a file
// beyond kMaxFileBytes).
int openRead(const QString &path);
// The same for the reader's own positioned reads, `native` being native(path):
// what fstat said of the open file comes back in `st`, and the descriptor
// stays non-blocking.
int openRead(const QString &path, const QByteArray &native, struct stat &st);
qint64 sizeOf(int fd, const QString &path);
// Reads up to count bytes at the 0-based offset; fewer at the end of the file.
qint64 readAt(int fd, char *buf, qint64 count, qint64 offset, const QString &path);
// "TAG" at the start of the file's last 128 bytes.
bool trailingTagAt(int fd, qint64 length, const QString &path);

bool exists(const QString &path);

// The backup names of a file name (no folder): stem + counter + ext, the stem
// ending in "_old"; a long name is cut so that every counter up to 32767 fits.
struct BackupName {
    QByteArray stem;
    QByteArray ext;
};
BackupName backupName(const QByteArray &fileName);
// Same file by another spelling (a link, "./", "//").
bool sameFile(const QString &a, const QString &b);

// Removes the leftovers of interrupted saves of `path` by earlier versions:
// temporary files (".NAME.vxtag-*", NAME cut as a long name needs) and backup
// links (the backup names that are the file itself under another name) older
// than this process and locked by no one.
void removeLeftovers(const QString &path);

// The most of a file's old content held in memory while it is rewritten in
// place in a folder that takes no copy beside it.
inline constexpr qint64 kMaxHeldBytes = qint64(128) << 20;

// Rewrites `path` (a name that may not exist yet) through the suite's save
// step with the content `content` streams, the old file whole on any failure;
// a failure is raised as the run-time error, with its reason.
void save(const QString &path, const vx::StreamedContent &content);

} // namespace ID3Module::io
