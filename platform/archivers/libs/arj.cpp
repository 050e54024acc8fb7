#include "arj.h"

#include "extract.h"
#include "fsutil.h"
#include "result.h"

#include "platform/core/userfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace arc {

namespace {
int g_timeLimit = 300;

uint32_t rd16(const uint8_t *p) { return p[0] | (p[1] << 8); }
uint32_t rd32(const uint8_t *p) { return rd16(p) | (rd16(p + 2) << 16); }

// After `arj` wrote into the staging folder: names into UTF-8, nothing but
// files and folders, no set-id bits.
bool tidy(const std::string &dir)
{
    DIR *d = ::opendir(dir.c_str());
    if (!d)
        return false;
    std::vector<std::string> names;
    while (dirent *e = ::readdir(d))
        if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
            names.emplace_back(e->d_name);
    ::closedir(d);
    bool ok = true;
    for (const std::string &n : names) {
        std::string path = dir + "/" + n;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return false;
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return false;
        ::chmod(path.c_str(), st.st_mode & 0777);
        if (!isUtf8(n)) {
            std::string u;
            if (!cp932ToUtf8(n, u))
                return false;
            const std::string to = dir + "/" + u;
            if (::rename(path.c_str(), to.c_str()) != 0)
                return false;
            path = to;
        }
        if (S_ISDIR(st.st_mode))
            ok = tidy(path) && ok;
    }
    return ok;
}
} // namespace

void setArjTimeLimit(int seconds) { g_timeLimit = seconds; }

std::optional<std::vector<std::string>> readArjNames(const std::string &path)
{
    vx::userfile::Handle file = vx::userfile::open(path, vx::userfile::kNoLimit);
    FILE *f = file.ok() ? ::fdopen(file.fd(), "rb") : nullptr;
    if (!f)
        return std::nullopt;
    file.release(); // fclose closes it
    std::vector<std::string> names;
    bool first = true;
    bool ok = true;
    for (;;) {
        uint8_t id[4];
        if (std::fread(id, 1, 4, f) != 4 || id[0] != 0x60 || id[1] != 0xEA) {
            ok = false;
            break;
        }
        const uint32_t size = rd16(id + 2);
        if (size == 0)
            break; // end of archive
        if (size > 2600) {
            ok = false;
            break;
        }
        std::vector<uint8_t> h(size + 4);
        if (std::fread(h.data(), 1, size + 4, f) != size + 4) { // header and its CRC
            ok = false;
            break;
        }
        const uint32_t firstSize = h[0];
        if (firstSize < 30 && !first) {
            ok = false;
            break;
        }
        if (firstSize > size) {
            ok = false;
            break;
        }
        const char *nameStart = reinterpret_cast<const char *>(h.data() + firstSize);
        const size_t nameLen = ::strnlen(nameStart, size - firstSize);
        // Extended headers: size, data and CRC each, until a zero size.
        for (;;) {
            uint8_t ext[2];
            if (std::fread(ext, 1, 2, f) != 2) {
                ok = false;
                break;
            }
            const uint32_t extSize = rd16(ext);
            if (!extSize)
                break;
            if (std::fseek(f, extSize + 4, SEEK_CUR) != 0) {
                ok = false;
                break;
            }
        }
        if (!ok)
            break;
        if (first) {
            first = false;
            continue;
        }
        const uint32_t fileType = h[6];
        const uint32_t packed = rd32(h.data() + 12);
        if (fileType != 2) // not a comment header
            names.emplace_back(nameStart, nameLen);
        if (std::fseek(f, static_cast<long>(packed), SEEK_CUR) != 0) {
            ok = false;
            break;
        }
    }
    std::fclose(f);
    if (!ok || first)
        return std::nullopt;
    return names;
}

std::string arjProgram()
{
    const char *path = std::getenv("PATH");
    std::string p = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= p.size()) {
        const auto end = p.find(':', start);
        std::string dir = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty()) {
            const std::string cand = dir + "/arj";
            if (::access(cand.c_str(), X_OK) == 0)
                return cand;
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return {};
}

namespace {

// The archive under a plain name in our private folder, so that `arj` is
// given nothing of the user's names (it expands '*' and '?' in an archive
// name, and reads '-' and '!' at a name's start): a hard link to the file we
// opened, or a copy of it where no link can be made.
bool privateCopy(int fd, const std::string &to)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0)
        return false;
    bool ok = ::lseek(fd, 0, SEEK_SET) == 0;
    std::vector<char> buf(1 << 20);
    while (ok) {
        const ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(out, buf.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            ok = w > 0;
            done += w > 0 ? w : 0;
        }
    }
    return ::close(out) == 0 && ok;
}

} // namespace

int extractArj(const std::string &archive, const std::string &dest, bool keepPaths)
{
    const std::string program = arjProgram();
    if (program.empty())
        return HelperMissing;
    vx::userfile::Handle file = vx::userfile::open(archive, vx::userfile::kNoLimit);
    if (!file.ok())
        return CannotRead;
    char cwd[4096];
    std::string target = dest;
    if (target.empty() || target[0] != '/')
        target = std::string(::getcwd(cwd, sizeof cwd) ? cwd : ".") + "/" + target;
    // A file that is no ARJ is refused before any copy is made of it.
    if (!readArjNames("/proc/self/fd/" + std::to_string(file.fd())))
        return CannotRead;
    removeStale(target);
    Staging work(target);
    if (!work.ok())
        return WriteFailed;
    // What is listed for unsafe names is what `arj` opens: our own name.
    if (!privateCopy(file.fd(), work.path() + "/a.arj"))
        return WriteFailed;
    const auto names = readArjNames(work.path() + "/a.arj");
    if (!names)
        return CannotRead;
    for (const std::string &n : *names) {
        std::string rel;
        if (!safeRelative(toUtf8Name(n), rel))
            return UnsafeEntry;
    }
    const std::string staging = work.path() + "/out";
    if (::mkdir(staging.c_str(), 0700) != 0)
        return WriteFailed;
    std::vector<std::string> args = {program, keepPaths ? "x" : "e", "-y", "-i", "-jf", "a.arj", "out/"};
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return HelperMissing;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        if (::chdir(work.path().c_str()) != 0)
            ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    int result = Ok;
    const time_t deadline = ::time(nullptr) + g_timeLimit;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid)
            break;
        if (r < 0) {
            result = HelperMissing;
            break;
        }
        if (::time(nullptr) >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result = TimedOut;
            break;
        }
        struct timespec ts {0, 20 * 1000 * 1000};
        ::nanosleep(&ts, nullptr);
    }
    if (result == Ok && (!WIFEXITED(status) || WEXITSTATUS(status) != 0))
        result = Damaged;
    if (result == Ok && !tidy(staging))
        result = UnsafeEntry;
    if (result != Ok)
        return result;
    return moveInto(staging, dest) ? Ok : WriteFailed;
}

} // namespace arc
