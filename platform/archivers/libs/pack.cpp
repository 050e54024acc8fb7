#include "pack.h"

#include "fsutil.h"
#include "platform/core/replacecore.h"
#include "result.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>

namespace arc {

namespace {

std::string real(const std::string &p)
{
    char *r = ::realpath(p.c_str(), nullptr);
    if (!r)
        return p;
    std::string s(r);
    std::free(r);
    return s;
}

void walk(const std::string &disk, const std::string &name, const std::string &skip, std::vector<Item> &out,
          std::set<std::string> &seen)
{
    DIR *d = ::opendir(disk.c_str());
    if (!d)
        return;
    std::vector<std::string> names;
    while (dirent *e = ::readdir(d)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
            continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string &n : names) {
        const std::string child = disk + "/" + n;
        const std::string childName = name.empty() ? n : name + "/" + n;
        struct stat lst {};
        if (::lstat(child.c_str(), &lst) != 0)
            continue;
        if (S_ISDIR(lst.st_mode)) {
            if (!seen.insert(childName + "/").second)
                continue;
            out.push_back({child, childName, true});
            walk(child, childName, skip, out, seen);
            continue;
        }
        struct stat st {};
        // Links to files are stored as the file; links to folders are left out.
        if (::stat(child.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (!skip.empty() && real(child) == skip)
            continue;
        if (seen.insert(childName).second)
            out.push_back({child, childName, false});
    }
}

bool isDir(const std::string &p)
{
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool collect(const std::vector<std::string> &names, const std::string &skipPath, std::vector<Item> &out)
{
    const std::string skip = skipPath.empty() ? std::string() : real(skipPath);
    std::string base;
    std::set<std::string> seen;
    bool ok = true;
    for (const std::string &raw : names) {
        // An absolute folder sets the base; a relative name, "sub/" too, is
        // below the base, never below the process's current folder.
        if (!raw.empty() && raw[0] == '/' && raw.back() == '/' && isDir(raw)) {
            base = trimSlash(raw);
            continue;
        }
        std::string n = raw;
        if (n[0] != '/' && base.empty()) {
            ok = false;
            continue;
        }
        if (n == "*.*" || n == "*") {
            walk(base, "", skip, out, seen);
            continue;
        }
        bool wholeFolder = false;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, "/*.*") == 0) {
            n.resize(n.size() - 4);
            wholeFolder = true;
        }
        n = trimSlash(n);
        const std::string disk = n[0] == '/' ? n : (base == "/" ? std::string() : base) + "/" + n;
        std::string stored;
        if (n[0] == '/') {
            stored = baseName(n);
            if (!base.empty() && n.compare(0, base.size() + 1, base + "/") == 0)
                stored = n.substr(base.size() + 1);
        } else if (!safeRelative(n, stored)) {
            ok = false;
            continue;
        }
        struct stat st {};
        if (::stat(disk.c_str(), &st) != 0) {
            ok = false;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (seen.insert(stored + "/").second)
                out.push_back({disk, stored, true});
            walk(disk, stored, skip, out, seen);
        } else if (S_ISREG(st.st_mode) && !wholeFolder) {
            if (!skip.empty() && real(disk) == skip)
                continue;
            if (seen.insert(stored).second)
                out.push_back({disk, stored, false});
        } else {
            ok = false;
        }
    }
    return ok;
}

int prepareTarget(const std::string &archive, std::string &target, bool &exists)
{
    target = archive;
    exists = false;
    struct stat st {};
    if (::lstat(archive.c_str(), &st) != 0)
        return errno == ENOENT ? Ok : CannotRead;
    if (S_ISLNK(st.st_mode)) {
        if (::stat(archive.c_str(), &st) != 0)
            return errno == ENOENT ? Ok : CannotRead; // a dangling link: written in its place
        target = real(archive);
    }
    if (!S_ISREG(st.st_mode))
        return CannotRead;
    exists = true;
    if (::access(target.c_str(), W_OK) != 0)
        return WriteFailed;
    if (st.st_nlink > 1)
        return WriteFailed;
    return Ok;
}

TempFile::TempFile(const std::string &archive)
{
    removeStale(archive);
    const std::string tmpl = tempTemplate(archive);
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    fd_ = ::mkostemp(buf.data(), O_CLOEXEC);
    if (fd_ < 0)
        return;
    path_ = buf.data();
    ::flock(fd_, LOCK_EX | LOCK_NB);
}

TempFile::~TempFile()
{
    if (!committed_ && !path_.empty())
        ::unlink(path_.c_str());
    if (fd_ >= 0)
        ::close(fd_);
}

bool TempFile::commit(const std::string &archive)
{
    if (fd_ < 0)
        return false;
    // An updated archive keeps its mode, owner and group (where the system
    // allows); a new one gets what the umask gives (mkstemp made it 0600).
    struct stat old {};
    if (::stat(archive.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        vx::replace::keepModeAndOwner(fd_, old);
    else
        ::fchmod(fd_, vx::replace::newFileMode());
    // A crash after the rename must find the new archive's data, not a hole.
    if (::fsync(fd_) != 0)
        return false;
    if (::rename(path_.c_str(), archive.c_str()) != 0)
        return false;
    committed_ = true;
    return true;
}

} // namespace arc
