#include "instancelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

InstanceLock::~InstanceLock()
{
    if (fd_ < 0)
        return;
    // Removed while still held: a copy starting now either opens the old file
    // and finds it held, or makes a new one.
    ::unlink(path_.c_str());
    ::close(fd_);
}

InstanceLock::Result InstanceLock::take(const std::string &path, const std::string &name, const std::string &host)
{
    if (fd_ >= 0)
        return Result::Taken;
    // Never through a link, never blocking on a FIFO put in its place.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return Result::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        return e == EWOULDBLOCK ? Result::Held : Result::Failed;
    }
    // What a copy that died left in the file is replaced; the words are for
    // people and for QLockFile, the kernel lock is what counts.
    const std::string text = std::to_string(::getpid()) + '\n' + name + '\n' + host + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.data(), text.size(), 0) != ssize_t(text.size())) {
        // Held all the same: the lock does not depend on the words.
    }
    fd_ = fd;
    path_ = path;
    return Result::Taken;
}

} // namespace vx
