#include "archivers.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace vx::archivers {

namespace {

std::string programFolder()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string p(buf, static_cast<size_t>(n));
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

bool isFile(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Loaded for one use and released after it. A file gone from the search path
// counts as missing even while the loader still holds it.
class Library {
public:
    explicit Library(const std::string &file)
        : handle_(searchLibrary(file).empty() ? nullptr : ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
    }
    ~Library()
    {
        if (handle_)
            ::dlclose(handle_);
    }
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;
    template <class Fn>
    Fn get(const std::string &name) const
    {
        return handle_ ? reinterpret_cast<Fn>(::dlsym(handle_, name.c_str())) : nullptr;
    }
    bool loaded() const { return handle_ != nullptr; }
    // A library may say that what it needs (a program) is missing.
    bool ready() const
    {
        auto fn = get<int32_t (*)()>("ArchiverReady");
        return loaded() && (!fn || fn() != 0);
    }

private:
    void *handle_;
};

class RealBackend : public Backend {
public:
    bool present(const std::string &file) override
    {
        Library lib(file);
        return lib.ready();
    }
    std::optional<int32_t> command(const std::string &file, const std::string &entry, uint32_t owner,
                                   const std::string &line) override
    {
        Library lib(file);
        auto fn = lib.get<int32_t (*)(uint32_t, const char *, char *, uint32_t)>(entry);
        if (!fn || !lib.ready())
            return std::nullopt;
        char empty[1] = {0};
        return fn(owner, line.c_str(), empty, 0);
    }
    std::optional<int16_t> version(const std::string &file, const std::string &function) override
    {
        Library lib(file);
        auto fn = lib.get<int16_t (*)()>(function);
        if (!fn || !lib.ready())
            return std::nullopt;
        return fn();
    }
    std::optional<int32_t> check(const std::string &file, const std::string &function, const std::string &archive,
                                 int32_t mode) override
    {
        Library lib(file);
        auto fn = lib.get<int32_t (*)(const char *, int32_t)>(function);
        if (!fn || !lib.ready())
            return std::nullopt;
        return fn(archive.c_str(), mode);
    }
};

std::unique_ptr<Backend> &current()
{
    static std::unique_ptr<Backend> b = makeRealBackend();
    return b;
}

} // namespace

std::string searchLibrary(const std::string &file)
{
    std::vector<std::string> dirs;
    dirs.push_back(programFolder()); // the programs carry $ORIGIN as their run path
    if (const char *ld = std::getenv("LD_LIBRARY_PATH")) {
        std::string s(ld);
        size_t start = 0;
        while (start <= s.size()) {
            const auto end = s.find(':', start);
            dirs.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    for (const char *d : {"/usr/local/lib", "/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu", "/lib", "/usr/lib"})
        dirs.emplace_back(d);
    for (const std::string &d : dirs) {
        if (d.empty())
            continue;
        const std::string p = d + "/" + file;
        if (isFile(p))
            return p;
    }
    return {};
}

std::unique_ptr<Backend> makeRealBackend() { return std::make_unique<RealBackend>(); }

Backend &backend() { return *current(); }

void setBackend(std::unique_ptr<Backend> b) { current() = b ? std::move(b) : makeRealBackend(); }

} // namespace vx::archivers
