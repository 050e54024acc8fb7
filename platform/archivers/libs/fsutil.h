#pragma once
// File-system helpers shared by the archiver libraries.
#include <cstddef>
#include <string>
#include <vector>

namespace arc {

// Normalises an entry name from an archive: '\' and '/' separate, "." parts
// dropped. Returns false for names that would leave the destination: absolute
// paths, ".." parts, drive letters, empty names.
bool safeRelative(const std::string &name, std::string &out);

// Creates a folder and its missing parents (mode 0777 & ~umask).
bool makeDirs(const std::string &path);

// True for a name that is the folder itself ("./", "."): no entry of its own.
bool isSelfName(const std::string &name);

// Our files and folders beside `target`: "<parent>/.<name>.vxtmp-XXXXXX", the
// name cut (whole characters, with a hash) so that the whole stays within the
// file system's 255 bytes. The template for mkstemp and mkdtemp.
inline constexpr const char *kTempTag = "vxtmp-";
inline constexpr std::size_t kTempUnique = 6;
std::string tempTemplate(const std::string &target);

// A private folder beside `target` (tempTemplate); "" on failure.
std::string makeStaging(const std::string &target);

// A private folder beside `target`, locked while it lives (so that another
// process's clean-up leaves it alone) and removed with what it holds when
// it goes, unless it was moved away.
class Staging {
public:
    explicit Staging(const std::string &target);
    ~Staging();
    Staging(const Staging &) = delete;
    Staging &operator=(const Staging &) = delete;
    bool ok() const { return !path_.empty(); }
    const std::string &path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

// Removes what an interrupted save or extraction of `target` left beside it:
// our tempTemplate files and folders that are older than this
// process and not locked by another.
void removeStale(const std::string &target);
// True when `path` (ctime) is older than this process and no process holds its lock.
bool isStale(const std::string &path);

// Removes a tree without following links. Best effort.
void removeTree(const std::string &path);

// Moves every entry of `staging` into `dest` (created when missing; files
// replaced, folders merged). Removes `staging` afterwards.
bool moveInto(const std::string &staging, const std::string &dest);

// Strips a trailing '/' (keeps "/").
std::string trimSlash(std::string s);
std::string parentOf(const std::string &path);
std::string baseName(const std::string &path);

// True when the text is valid UTF-8.
bool isUtf8(const std::string &s);
// CP932 to UTF-8 (nullopt-like: returns false when the bytes are not CP932).
bool cp932ToUtf8(const std::string &in, std::string &out);
bool utf8ToCp932(const std::string &in, std::string &out);

// Simple '*' and '?' match; "*.*" matches every name.
bool wildMatch(const std::string &pattern, const std::string &name);

} // namespace arc
