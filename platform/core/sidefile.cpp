#include "sidefile.h"

#include "platform/core/sidename.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace vx {

namespace {

constexpr std::size_t kUnique = 6;

// When this process started: a side file older than that is no save of ours
// in progress.
const struct timespec g_started = [] {
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return t;
}();

} // namespace

bool olderThanThisProgram(const struct stat &st)
{
    return st.st_mtim.tv_sec < g_started.tv_sec ||
           (st.st_mtim.tv_sec == g_started.tv_sec && st.st_mtim.tv_nsec < g_started.tv_nsec);
}

SideFiles::SideFiles(const QString &file, std::string_view tag)
{
    const QFileInfo info(file);
    dir_ = QFile::encodeName(info.absolutePath());
    prefix_ = sidename::prefix(QFile::encodeName(info.fileName()).toStdString(), tag, kUnique);
}

Fd SideFiles::create(std::string &name, mode_t mode) const
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix_;
        for (std::size_t k = 0; k < kUnique; ++k)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = ::open(path(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            return Fd(fd);
        }
        if (errno != EEXIST)
            return Fd();
    }
    errno = EEXIST;
    return Fd();
}

void SideFiles::removeLeftovers(Leftovers which) const
{
    DIR *d = ::opendir(dir_.constData());
    if (!d)
        return;
    while (const dirent *e = ::readdir(d)) {
        const std::string_view n(e->d_name);
        if (n.size() != prefix_.size() + kUnique || n.compare(0, prefix_.size(), prefix_) != 0)
            continue;
        Fd fd(::openat(::dirfd(d), e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        struct stat st {};
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (which == Leftovers::StaleAndUnheld && !olderThanThisProgram(st))
            continue;
        if (which != Leftovers::All && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

} // namespace vx
