#include "testutil_test.h"

#include "fsutil.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace arctest {

// Names in the tests are UTF-8, as in the programs.
const bool g_utf8 = [] {
    std::setlocale(LC_ALL, "C.UTF-8");
    return true;
}();

Scratch::Scratch()
{
    char tmpl[] = "/tmp/vxarc-test-XXXXXX";
    path_ = ::mkdtemp(tmpl);
}

Scratch::~Scratch() { arc::removeTree(path_); }

void writeFile(const std::string &path, const std::string &data)
{
    arc::makeDirs(arc::parentOf(path));
    std::ofstream out(path, std::ios::binary);
    out << data;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool exists(const std::string &path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

namespace {
void walk(const std::string &root, const std::string &rel, std::map<std::string, std::string> &out)
{
    DIR *d = ::opendir((rel.empty() ? root : root + "/" + rel).c_str());
    if (!d)
        return;
    while (dirent *e = ::readdir(d)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
            continue;
        const std::string r = rel.empty() ? e->d_name : rel + "/" + e->d_name;
        struct stat st {};
        ::lstat((root + "/" + r).c_str(), &st);
        if (S_ISDIR(st.st_mode)) {
            out[r] = "<dir>";
            walk(root, r, out);
        } else {
            out[r] = readFile(root + "/" + r);
        }
    }
    ::closedir(d);
}
} // namespace

std::map<std::string, std::string> tree(const std::string &root)
{
    std::map<std::string, std::string> out;
    walk(root, "", out);
    return out;
}

int runProgram(const std::vector<std::string> &argv, const std::string &cwd)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
            ::_exit(126);
        std::vector<char *> args;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool haveProgram(const std::string &name)
{
    return runProgram({"sh", "-c", "command -v " + name}) == 0;
}

int call(const std::string &lib, const std::string &entry, const std::string &line)
{
    void *h = ::dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        ADD_FAILURE() << "cannot load " << lib << ": " << ::dlerror();
        return -1;
    }
    auto fn = reinterpret_cast<int32_t (*)(uint32_t, const char *, char *, uint32_t)>(::dlsym(h, entry.c_str()));
    EXPECT_NE(fn, nullptr) << entry;
    const int r = fn ? fn(0, line.c_str(), nullptr, 0) : -1;
    ::dlclose(h);
    return r;
}

int checkArchive(const std::string &lib, const std::string &function, const std::string &file)
{
    void *h = ::dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h)
        return -1;
    auto fn = reinterpret_cast<int32_t (*)(const char *, int32_t)>(::dlsym(h, function.c_str()));
    const int r = fn ? fn(file.c_str(), 1) : -1;
    ::dlclose(h);
    return r;
}

namespace {
void writeEntries(struct archive *w, const std::vector<RawEntry> &entries)
{
    for (const RawEntry &r : entries) {
        struct archive_entry *e = archive_entry_new();
        archive_entry_set_pathname(e, r.name.c_str());
        archive_entry_set_filetype(e, r.type);
        archive_entry_set_perm(e, r.perm);
        if (!r.link.empty())
            archive_entry_set_symlink(e, r.link.c_str());
        if (!r.hardlink.empty())
            archive_entry_set_hardlink(e, r.hardlink.c_str());
        if (r.type == AE_IFCHR || r.type == AE_IFBLK)
            archive_entry_set_rdev(e, ::makedev(1, 3));
        archive_entry_set_size(e, r.type == AE_IFREG && r.hardlink.empty() ? static_cast<la_int64_t>(r.data.size()) : 0);
        ASSERT_EQ(archive_write_header(w, e), ARCHIVE_OK) << r.name;
        if (r.type == AE_IFREG && r.hardlink.empty() && !r.data.empty())
            archive_write_data(w, r.data.data(), r.data.size());
        archive_entry_free(e);
    }
}
} // namespace

void writeTarEntries(const std::string &path, const std::vector<RawEntry> &entries)
{
    struct archive *w = archive_write_new();
    archive_write_set_format_pax_restricted(w);
    archive_write_open_filename(w, path.c_str());
    writeEntries(w, entries);
    archive_write_close(w);
    archive_write_free(w);
}

void writeZipEntries(const std::string &path, const std::vector<RawEntry> &entries, const char *charset)
{
    struct archive *w = archive_write_new();
    archive_write_set_format_zip(w);
    if (charset)
        archive_write_set_format_option(w, "zip", "hdrcharset", charset);
    archive_write_open_filename(w, path.c_str());
    writeEntries(w, entries);
    archive_write_close(w);
    archive_write_free(w);
}

void makeSampleTree(const std::string &root)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "line " + std::to_string(i % 97) + " of a plain text file, repeated often\n";
    writeFile(root + "/text.txt", text);
    std::mt19937 rng(7);
    std::string noise(70000, '\0');
    for (char &c : noise)
        c = static_cast<char>(rng());
    writeFile(root + "/noise.bin", noise);
    writeFile(root + "/empty.dat", "");
    writeFile(root + "/sub/inner.txt", "inner file\n");
    writeFile(root + "/sub/deeper/日本語の名前.txt", "にほんご\n");
    arc::makeDirs(root + "/emptydir");
}

} // namespace arctest
