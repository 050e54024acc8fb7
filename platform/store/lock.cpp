#include "lock.h"

#include "platform/core/errors.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::store::detail {

namespace {
std::atomic<int> lockTimeoutMs{10000};

// Waits for flock on fd until the deadline. Returns 0 with the lock held,
// ETIMEDOUT when it expired (fd then belongs to a helper thread, which drops
// it once the lock is finally granted), or an errno.
int waitForLock(Fd &fd, std::chrono::steady_clock::time_point deadline)
{
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
        return 0;
    if (errno != EWOULDBLOCK && errno != EINTR)
        return errno;

    // A blocking flock is woken by the kernel as soon as the holder lets go;
    // polling would lose nearly every race against a busy writer.
    struct Wait {
        std::mutex m;
        std::condition_variable cv;
        int fd = -1;
        bool done = false;
        bool abandoned = false;
        int error = 0;
    };
    auto w = std::make_shared<Wait>();
    w->fd = fd.get();
    try {
        std::thread([w] {
            int r;
            do
                r = ::flock(w->fd, LOCK_EX);
            while (r != 0 && errno == EINTR);
            const int e = r == 0 ? 0 : errno;
            std::lock_guard g(w->m);
            if (w->abandoned) {
                ::close(w->fd);
                return;
            }
            w->done = true;
            w->error = e;
            w->cv.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return EAGAIN;
    }
    std::unique_lock g(w->m);
    if (!w->cv.wait_until(g, deadline, [&] { return w->done; })) {
        w->abandoned = true;
        fd.release();
        return ETIMEDOUT;
    }
    return w->error;
}

} // namespace

void setLockTimeout(int ms) { lockTimeoutMs = ms; }

Fd acquireLock(const QString &lockPath)
{
    const QByteArray path = native(lockPath);
    const auto deadline = std::chrono::steady_clock::now()
                          + std::chrono::milliseconds(detail::lockTimeoutMs.load());
    for (;;) {
        // NFS emulates flock with fcntl locks, which want a writable fd.
        Fd fd(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
        const int first = errno;
        if (!fd.valid() && first == EACCES)
            fd.reset(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        // The first refusal is the cause: with no lock file yet in a read-only
        // folder, the second open can only say the file is missing.
        if (!fd.valid())
            failErrno(first, lockPath);
        const int e = waitForLock(fd, deadline);
        if (e == ETIMEDOUT)
            raise(err::PermissionDenied, lockPath + QStringLiteral("：他のプログラムが設定を使用中です。"));
        if (e != 0)
            failErrno(e, lockPath);
        // If the lock file was removed and recreated meanwhile, our lock
        // excludes nobody: start over on the current file.
        struct stat held, now;
        if (::fstat(fd.get(), &held) == 0 && ::stat(path.constData(), &now) == 0
            && held.st_dev == now.st_dev && held.st_ino == now.st_ino)
            return Fd(fd.release());
        if (std::chrono::steady_clock::now() > deadline)
            raise(err::PermissionDenied, lockPath + QStringLiteral(": lock file keeps changing"));
    }
}

} // namespace vx::store::detail
