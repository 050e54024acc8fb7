#pragma once
// Helpers for the archiver library tests: a scratch folder, the real shared
// objects loaded by name, other programs run by argument vector, trees compared.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace arctest {

class Scratch {
public:
    Scratch();
    ~Scratch();
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &rel) const { return path_ + "/" + rel; }

private:
    std::string path_;
};

void writeFile(const std::string &path, const std::string &data);
std::string readFile(const std::string &path);
bool exists(const std::string &path);
// Every file below `root`: relative name -> contents ("<dir>" for folders).
std::map<std::string, std::string> tree(const std::string &root);
// Runs a program with arguments in `cwd`; its exit status (-1 when it could not start).
int runProgram(const std::vector<std::string> &argv, const std::string &cwd = std::string());
bool haveProgram(const std::string &name);

// Calls a library's command entry by name (the library loaded for the call).
int call(const std::string &lib, const std::string &entry, const std::string &line);
int checkArchive(const std::string &lib, const std::string &function, const std::string &file);

// Writes an archive with libarchive: entries of (name, data) plus hand-set kinds.
struct RawEntry {
    RawEntry(std::string n, std::string d = {}, unsigned t = AE_IFREG, unsigned p = 0644, std::string l = {},
             std::string h = {})
        : name(std::move(n)), data(std::move(d)), type(t), perm(p), link(std::move(l)), hardlink(std::move(h))
    {
    }
    std::string name;
    std::string data;
    unsigned type;
    unsigned perm;
    std::string link;     // symlink target
    std::string hardlink; // hard link target
};
void writeTarEntries(const std::string &path, const std::vector<RawEntry> &entries);
void writeZipEntries(const std::string &path, const std::vector<RawEntry> &entries, const char *charset);

// A sample tree: text, incompressible bytes, an empty file, a subfolder and a
// Japanese name.
void makeSampleTree(const std::string &root);

} // namespace arctest
