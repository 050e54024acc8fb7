#pragma once
// Plain POSIX file work for the tag module: errors as the classic run-time
// errors, positioned reads, and the pieces of a crash-safe rewrite.
#include "platform/core/fd.h"

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
void writeAll(int fd, const char *data, qint64 count, const QString &path);
// Appends bytes [from, to) of src to dst with a fixed buffer.
void copyRange(int dst, int src, qint64 from, qint64 to, const QString &srcPath, const QString &dstPath);

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

// Before a rewrite of `path` (a name that may not exist yet): leftovers of
// interrupted saves beside it go, then a file the user may not write is error
// 70, and so is a file with other hard links, since a rename would leave them
// the old content.
void prepareRewrite(const QString &path);
// Removes the leftovers of interrupted saves of `path`: our temporary files
// (".NAME.vxtag-*", NAME cut as a long name needs) and backup links (the
// backup names that are the file itself under another name) older than this
// process and locked by no one.
void removeLeftovers(const QString &path);

// A file written complete under a temporary name beside `path`, then flushed
// and renamed over it: the name holds the old file or the new one, whole.
class Replacement {
public:
    // `modeFrom`: the file whose permissions the new one takes ("" for the default).
    Replacement(const QString &path, const QString &modeFrom);
    ~Replacement(); // removes the temporary file unless committed
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;
    int fd() const { return fd_.get(); }
    qint64 written() const { return written_; }
    void write(const QByteArray &bytes);
    void copyFrom(int src, qint64 from, qint64 to, const QString &srcPath);
    void commit();

private:
    QString path_;
    QByteArray target_;
    QByteArray temp_;
    Fd fd_;
    qint64 written_ = 0;
    bool committed_ = false;
};

} // namespace ID3Module::io
