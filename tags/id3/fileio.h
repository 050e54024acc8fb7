#pragma once
// Plain POSIX file work for the tag module: errors as the classic run-time
// errors, positioned reads, and the pieces of a crash-safe rewrite.
#include <QByteArray>
#include <QString>

namespace ID3Module::io {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1);
    // Closes and reports a failed close (a write-back error shows up there).
    void close(const QString &path);

private:
    int fd_;
};

QByteArray native(const QString &path);
[[noreturn]] void fail(int e, const QString &path);

int openRead(const QString &path);
qint64 sizeOf(int fd, const QString &path);
// Reads up to count bytes at the 0-based offset; fewer at the end of the file.
qint64 readAt(int fd, char *buf, qint64 count, qint64 offset, const QString &path);
void writeAll(int fd, const char *data, qint64 count, const QString &path);
// Appends bytes [from, to) of src to dst with a fixed buffer.
void copyRange(int dst, int src, qint64 from, qint64 to, const QString &srcPath, const QString &dstPath);

bool exists(const QString &path);
// Same file by another spelling (a link, "./", "//").
bool sameFile(const QString &a, const QString &b);

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

// The backup of a file rewritten in place: a hard link (or a copy where links
// are not possible) under the given name, removed once the rewrite is done.
class Backup {
public:
    Backup(const QString &path, const QString &backupName);
    ~Backup();
    Backup(const Backup &) = delete;
    Backup &operator=(const Backup &) = delete;
    const QString &name() const { return name_; }
    void remove();

private:
    QString name_;
    bool removed_ = false;
};

} // namespace ID3Module::io
