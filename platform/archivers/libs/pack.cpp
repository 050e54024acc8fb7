#include "pack.h"

#include "fsutil.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
        if (!raw.empty() && raw.back() == '/' && isDir(raw)) {
            base = trimSlash(raw);
            continue;
        }
        std::string n = raw;
        if (n == "*.*" || n == "*") {
            if (base.empty())
                base = ".";
            walk(base, "", skip, out, seen);
            continue;
        }
        bool wholeFolder = false;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, "/*.*") == 0) {
            n.resize(n.size() - 4);
            wholeFolder = true;
        }
        n = trimSlash(n);
        const std::string disk = n[0] == '/' || base.empty() ? n : base + "/" + n;
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

std::string tempBeside(const std::string &archive)
{
    const std::string parent = parentOf(archive);
    std::string tmpl = (parent == "/" ? std::string() : parent) + "/." + baseName(archive) + ".vxtmp-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    const int fd = ::mkstemp(buf.data());
    if (fd < 0)
        return {};
    ::close(fd);
    return std::string(buf.data());
}

bool commitTemp(const std::string &temp, const std::string &archive)
{
    ::chmod(temp.c_str(), 0666 & ~[] { mode_t m = ::umask(0); ::umask(m); return m; }());
    if (::rename(temp.c_str(), archive.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

} // namespace arc
