#pragma once
// The steps every rewrite of a user's file shares, whatever builds the new
// content: writing it whole (a short write is the disk's refusal, with its
// reason in errno), reading the old content whole, and giving the new file
// the old one's mode, owner and group.
//
// Plain POSIX and header-only: the archiver libraries link no Qt.
#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::replace {

namespace detail {
// Moves `size` bytes at `offset` through `io` (pread or pwrite), however many
// calls it takes. One that moves nothing fails with `stopped` in errno.
template <class Io>
bool whole(Io io, char *p, std::size_t size, off_t offset, int stopped)
{
    while (size > 0) {
        const ssize_t n = io(p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = stopped;
            return false;
        }
        p += n;
        size -= std::size_t(n);
        offset += n;
    }
    return true;
}
} // namespace detail

// Writes `size` bytes at `offset`. False with errno set when the disk took
// fewer: a write that stops short without an error is a full disk.
inline bool writeAt(int fd, const void *data, std::size_t size, off_t offset = 0)
{
    return detail::whole([fd](char *p, std::size_t n, off_t at) { return ::pwrite(fd, p, n, at); },
                         const_cast<char *>(static_cast<const char *>(data)), size, offset, ENOSPC);
}

// Reads `size` bytes at `offset`; a file that ends sooner is an I/O error.
inline bool readAt(int fd, void *data, std::size_t size, off_t offset = 0)
{
    return detail::whole([fd](char *p, std::size_t n, off_t at) { return ::pread(fd, p, n, at); },
                         static_cast<char *>(data), size, offset, EIO);
}

// Claims the room for `size` bytes before anything is written, so that a
// full disk or quota is seen while the old content is still untouched.
// False with errno set only when the file system says there is no room;
// one that cannot reserve space is left to the writes.
inline bool reserve(int fd, off_t size)
{
    if (size <= 0)
        return true;
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0)
        return true;
    return errno != ENOSPC && errno != EDQUOT && errno != EFBIG;
}

// The file being written takes the mode of the one it replaces, and its
// owner and group where the system allows (root keeps the owner; a user
// keeps a group he belongs to). The mode comes last: a change of owner
// clears the set-id bits.
inline void keepModeAndOwner(int fd, const struct stat &old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)!::fchown(fd, uid_t(-1), old.st_gid);
    (void)!::fchmod(fd, old.st_mode & 07777);
}

// The process's umask, read from the kernel rather than set and reset,
// which would race with other threads creating files.
inline mode_t currentUmask()
{
    mode_t mask = 022;
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return mask;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0)
        return mask;
    buf[n] = '\0';
    static constexpr char key[] = "\nUmask:";
    for (const char *p = buf; *p; ++p) {
        std::size_t k = 0;
        while (key[k] && p[k] == key[k])
            ++k;
        if (key[k])
            continue;
        p += k;
        while (*p == ' ' || *p == '\t')
            ++p;
        mask = 0;
        for (; *p >= '0' && *p <= '7'; ++p)
            mask = mode_t(mask * 8 + mode_t(*p - '0'));
        break;
    }
    return mask & 0777;
}

// The mode a new file gets, for one made by mkstemp (which creates 0600).
inline mode_t newFileMode() { return 0666 & ~currentUmask(); }

} // namespace vx::replace
