#pragma once
// The one way to open a file the user named. Only a regular file is opened,
// never with a blocking open (a FIFO without a writer would hold the caller),
// and never when it is larger than the caller can take: a link to /dev/zero,
// a device, a socket, a folder or a huge file fails at once.
//
// Plain POSIX and header-only, so the archiver libraries and the image
// plug-ins, which link no Qt, use the same steps as the program.
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::userfile {

enum class Status {
    Ok,
    Missing,    // no such file, or a folder on the way is missing
    Denied,     // no permission to read it
    NotRegular, // a folder, FIFO, socket or device (after links)
    TooLarge,   // more bytes than the caller's bound
    Failed,     // any other error (errno() tells)
};

inline constexpr std::int64_t kNoLimit = -1;

// Whether the descriptor reads in blocking mode again once it is open. A
// caller that hands it on (QFile, a library) needs Restore; one that only
// reads a regular file's bytes itself may Keep non-blocking mode, which
// changes nothing for a regular file except that a read that would wait (a
// file of /proc that blocks) fails at once, and spares a system call.
enum class Blocking { Restore, Keep };

// An open descriptor for reading, closed when the handle goes.
class Handle {
public:
    Handle() = default;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    Handle(Handle &&o) noexcept { swap(o); }
    Handle &operator=(Handle &&o) noexcept
    {
        Handle(std::move(o)).swap(*this);
        return *this;
    }
    ~Handle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    bool ok() const { return status_ == Status::Ok; }
    Status status() const { return status_; }
    int error() const { return errno_; }
    int fd() const { return fd_; }
    // Size at the time of opening.
    std::int64_t size() const { return size_; }
    const struct stat &info() const { return st_; }
    // Hands the descriptor over (e.g. to QFile or a library); the caller closes it.
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    static Handle open(const char *path, std::int64_t maxBytes, Blocking blocking = Blocking::Restore)
    {
        Handle h;
        struct stat st;
        // Look before opening: opening some devices has effects of its own.
        if (::stat(path, &st) != 0)
            return h.fail(errno);
        if (!S_ISREG(st.st_mode))
            return h.failWith(Status::NotRegular, 0);
        const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return h.fail(errno);
        h.fd_ = fd;
        // The name may have been swapped between the look and the open.
        if (::fstat(fd, &h.st_) != 0)
            return h.fail(errno);
        if (!S_ISREG(h.st_.st_mode))
            return h.failWith(Status::NotRegular, 0);
        if (maxBytes >= 0 && h.st_.st_size > maxBytes)
            return h.failWith(Status::TooLarge, 0);
        // The status flags it was opened with are known: all but O_NONBLOCK
        // are 0 (F_SETFL leaves the access mode and O_LARGEFILE alone).
        if (blocking == Blocking::Restore)
            (void)::fcntl(fd, F_SETFL, 0);
        h.size_ = h.st_.st_size;
        h.status_ = Status::Ok;
        return h;
    }

private:
    void swap(Handle &o) noexcept
    {
        std::swap(fd_, o.fd_);
        std::swap(size_, o.size_);
        std::swap(status_, o.status_);
        std::swap(errno_, o.errno_);
        std::swap(st_, o.st_);
    }
    Handle &&fail(int e)
    {
        Status s = Status::Failed;
        if (e == ENOENT || e == ENOTDIR || e == ENAMETOOLONG || e == ELOOP)
            s = Status::Missing;
        else if (e == EACCES || e == EPERM)
            s = Status::Denied;
        return failWith(s, e);
    }
    Handle &&failWith(Status s, int e)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        size_ = 0;
        status_ = s;
        errno_ = e;
        return std::move(*this);
    }

    int fd_ = -1;
    std::int64_t size_ = 0;
    Status status_ = Status::Failed;
    int errno_ = 0;
    struct stat st_ {};
};

inline Handle open(const char *path, std::int64_t maxBytes, Blocking blocking = Blocking::Restore)
{
    return Handle::open(path, maxBytes, blocking);
}
inline Handle open(const std::string &path, std::int64_t maxBytes) { return Handle::open(path.c_str(), maxBytes); }

// The whole file into `out`, at most maxBytes (a file that grows past the
// bound while it is read is TooLarge too). `out` is empty on failure.
inline Status readAll(const char *path, std::int64_t maxBytes, std::string &out, int *error = nullptr)
{
    out.clear();
    Handle h = Handle::open(path, maxBytes);
    if (!h.ok()) {
        if (error)
            *error = h.error();
        return h.status();
    }
    try {
        out.reserve(std::size_t(h.size()));
    } catch (...) {
        return Status::TooLarge;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(h.fd(), buf, sizeof buf);
        if (n == 0)
            return Status::Ok;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = errno;
            out.clear();
            return Status::Failed;
        }
        if (maxBytes >= 0 && std::int64_t(out.size()) + n > maxBytes) {
            out.clear();
            return Status::TooLarge;
        }
        out.append(buf, std::size_t(n));
    }
}

// Whether a save may replace `path`: it names nothing yet (a new file) or a
// regular file, after links, that the user may write. A FIFO, a device or a
// link to one is never a save's target: renaming the new file over what the
// link names would replace the device itself.
inline Status checkSaveTarget(const char *path, int *error = nullptr)
{
    struct stat st;
    if (::stat(path, &st) != 0) {
        const int e = errno;
        if (e == ENOENT)
            return Status::Ok;
        if (error)
            *error = e;
        return e == EACCES || e == EPERM ? Status::Denied : e == ENOTDIR ? Status::Missing : Status::Failed;
    }
    if (!S_ISREG(st.st_mode))
        return Status::NotRegular;
    if (::access(path, W_OK) != 0) {
        const int e = errno;
        if (error)
            *error = e;
        return e == EACCES || e == EPERM || e == EROFS ? Status::Denied : Status::Failed;
    }
    return Status::Ok;
}

} // namespace vx::userfile
