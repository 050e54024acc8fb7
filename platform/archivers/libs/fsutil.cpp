#include "fsutil.h"

#include "platform/core/replacecore.h"
#include "platform/core/sidename.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace arc {

bool safeRelative(const std::string &name, std::string &out)
{
    out.clear();
    if (name.empty() || name[0] == '/' || name[0] == '\\')
        return false;
    if (name.size() >= 2 && name[1] == ':')
        return false;
    std::string part;
    auto flush = [&]() -> bool {
        if (part == "..")
            return false;
        if (!part.empty() && part != ".") {
            if (!out.empty())
                out.push_back('/');
            out += part;
        }
        part.clear();
        return true;
    };
    for (char c : name) {
        if (c == '/' || c == '\\') {
            if (!flush())
                return false;
        } else if (c == '\0') {
            return false;
        } else {
            part.push_back(c);
        }
    }
    if (!flush())
        return false;
    return !out.empty();
}

bool makeDirs(const std::string &path)
{
    if (path.empty())
        return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = parentOf(trimSlash(path));
    if (!parent.empty() && parent != path && !makeDirs(parent))
        return false;
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string trimSlash(std::string s)
{
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

std::string parentOf(const std::string &path)
{
    const std::string p = trimSlash(path);
    const auto pos = p.rfind('/');
    if (pos == std::string::npos)
        return ".";
    if (pos == 0)
        return "/";
    return p.substr(0, pos);
}

std::string baseName(const std::string &path)
{
    const std::string p = trimSlash(path);
    const auto pos = p.rfind('/');
    return pos == std::string::npos ? p : p.substr(pos + 1);
}

bool isSelfName(const std::string &name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\')
        return false;
    bool dot = false;
    for (char c : name) {
        if (c == '.')
            dot = true;
        else if (c != '/' && c != '\\')
            return false;
    }
    // Only single dots between separators: "./", ".", "./."; never "..".
    return dot && name.find("..") == std::string::npos;
}

std::string tempTemplate(const std::string &target)
{
    const std::string t = trimSlash(target);
    const std::string parent = parentOf(t);
    return (parent == "/" ? std::string() : parent) + "/" +
           vx::sidename::prefix(baseName(t), kTempTag, kTempUnique) + std::string(kTempUnique, 'X');
}

std::string makeStaging(const std::string &target)
{
    if (!makeDirs(parentOf(trimSlash(target))))
        return {};
    const std::string tmpl = tempTemplate(target);
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data()))
        return {};
    return std::string(buf.data());
}

Staging::Staging(const std::string &target) : path_(makeStaging(target))
{
    if (path_.empty())
        return;
    fd_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd_ >= 0)
        ::flock(fd_, LOCK_EX | LOCK_NB);
}

Staging::~Staging()
{
    if (!path_.empty())
        removeTree(path_);
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

// When this process started, in seconds since the epoch: its start in clock
// ticks after boot, set against the clocks now (to a tick, not a second).
// Not kept: a forked child must not take its parent's.
double processStart()
{
    return [] {
        std::ifstream self("/proc/self/stat");
        std::string line;
        std::getline(self, line);
        // Fields after the name in parentheses; the start time is field 22.
        const auto close = line.rfind(')');
        struct timespec real {};
        struct timespec boot {};
        ::clock_gettime(CLOCK_REALTIME, &real);
        const double now = static_cast<double>(real.tv_sec) + real.tv_nsec / 1e9;
        if (close == std::string::npos || ::clock_gettime(CLOCK_BOOTTIME, &boot) != 0)
            return now;
        std::istringstream rest(line.substr(close + 2));
        std::string field;
        unsigned long long ticks = 0;
        for (int i = 3; i <= 22 && rest >> field; ++i)
            if (i == 22)
                ticks = std::strtoull(field.c_str(), nullptr, 10);
        const long hz = ::sysconf(_SC_CLK_TCK);
        const double sinceBoot = static_cast<double>(boot.tv_sec) + boot.tv_nsec / 1e9;
        return now - (sinceBoot - static_cast<double>(ticks) / static_cast<double>(hz > 0 ? hz : 100));
    }();
}

} // namespace

bool isStale(const std::string &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
        return false;
    if (static_cast<double>(st.st_ctim.tv_sec) + st.st_ctim.tv_nsec / 1e9 >= processStart())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

void removeStale(const std::string &target)
{
    const std::string t = trimSlash(target);
    const std::string prefix = vx::sidename::prefix(baseName(t), kTempTag, kTempUnique);
    const std::string parent = parentOf(t);
    DIR *d = ::opendir(parent.c_str());
    if (!d)
        return;
    std::vector<std::string> found;
    while (dirent *e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n.size() == prefix.size() + kTempUnique && n.compare(0, prefix.size(), prefix) == 0)
            found.push_back((parent == "/" ? std::string() : parent) + "/" + n);
    }
    ::closedir(d);
    for (const std::string &p : found)
        if (isStale(p))
            removeTree(p);
}

void removeTree(const std::string &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        ::chmod(path.c_str(), 0700);
        if (DIR *d = ::opendir(path.c_str())) {
            while (dirent *e = ::readdir(d)) {
                if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
                    continue;
                removeTree(path + "/" + e->d_name);
            }
            ::closedir(d);
        }
        ::rmdir(path.c_str());
    } else {
        ::unlink(path.c_str());
    }
}

namespace {
bool mergeEntry(const std::string &from, const std::string &to)
{
    struct stat sf {};
    struct stat st {};
    if (::lstat(from.c_str(), &sf) != 0)
        return false;
    const bool exists = ::lstat(to.c_str(), &st) == 0;
    if (S_ISDIR(sf.st_mode) && exists && S_ISDIR(st.st_mode)) {
        bool ok = true;
        if (DIR *d = ::opendir(from.c_str())) {
            while (dirent *e = ::readdir(d)) {
                if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
                    continue;
                ok = mergeEntry(from + "/" + e->d_name, to + "/" + e->d_name) && ok;
            }
            ::closedir(d);
        } else {
            ok = false;
        }
        return ok;
    }
    if (exists && (S_ISDIR(st.st_mode) != S_ISDIR(sf.st_mode)))
        return false; // a file where a folder is, or the reverse: left alone
    return ::rename(from.c_str(), to.c_str()) == 0;
}
} // namespace

bool moveInto(const std::string &staging, const std::string &dest)
{
    const std::string d = trimSlash(dest);
    struct stat st {};
    bool ok;
    if (::lstat(d.c_str(), &st) != 0) {
        ok = ::rename(staging.c_str(), d.c_str()) == 0;
        if (ok) {
            ::chmod(d.c_str(), 0777 & ~vx::replace::currentUmask());
            return true;
        }
    } else if (!S_ISDIR(st.st_mode)) {
        ok = false;
    } else {
        ok = mergeEntry(staging, d);
    }
    removeTree(staging);
    return ok;
}

bool isUtf8(const std::string &s)
{
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (!len || i + len > n)
            return false;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        if (len == 2 && c < 0xC2)
            return false;
        i += len;
    }
    return true;
}

namespace {
bool convert(const char *to, const char *from, const std::string &in, std::string &out)
{
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    out.assign(in.size() * 4 + 8, '\0');
    char *src = const_cast<char *>(in.data());
    size_t srcLeft = in.size();
    char *dst = out.data();
    size_t dstLeft = out.size();
    const size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    ::iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        return false;
    out.resize(out.size() - dstLeft);
    return true;
}
} // namespace

bool cp932ToUtf8(const std::string &in, std::string &out) { return convert("UTF-8", "CP932", in, out); }
bool utf8ToCp932(const std::string &in, std::string &out) { return convert("CP932", "UTF-8", in, out); }

bool wildMatch(const std::string &pattern, const std::string &name)
{
    if (pattern == "*.*" || pattern == "*")
        return true;
    return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

} // namespace arc
