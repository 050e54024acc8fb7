#pragma once
// The store's file work in plain POSIX calls: errors named as the classic run-time
// errors, whole-file reads, and replacement by a flushed temporary file renamed
// over the old one, so that a crash leaves the old or the new file.
#include <QByteArray>
#include <QString>

namespace vx::store::detail {

[[noreturn]] void failErrno(int e, const QString &path);
[[noreturn]] void failMissing(const QString &what);

// An owned file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { int fd = fd_; fd_ = -1; return fd; }
    void reset(int fd = -1);

private:
    int fd_;
};

QByteArray native(const QString &path);
// mkdir -p; new folders are private, as XDG asks.
void makeDir(const QString &dir);
// Reads the whole file; a missing file reads as empty. False (errno set) when
// it exists but cannot be read.
bool readFile(const QByteArray &path, QByteArray &out, bool &exists);
bool writeAll(int fd, const QByteArray &data);
void syncDir(const QByteArray &dir);
QByteArray dirOf(const QByteArray &path);
// Writes data to a temporary file beside path, flushes it and renames it over path.
void replaceFile(const QByteArray &path, const QByteArray &data);
// Temp files of writers killed mid-write (call with the lock held).
void removeStaleTemps(const QString &dir, const QString &file);

} // namespace vx::store::detail
