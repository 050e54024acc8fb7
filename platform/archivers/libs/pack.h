#pragma once
// What a compress command names, gathered from disk, and the temporary file
// an archive is written to before it replaces the old one.
#include <string>
#include <vector>

namespace arc {

struct Item {
    std::string disk; // path on disk
    std::string name; // name inside the archive, '/' separated, UTF-8
    bool dir = false;
};

// Names after the archive, in order: an absolute name ending in '/' that is a
// folder sets the base folder for the names after it; relative names are
// resolved against it (none before it); "*.*" is every entry of the base
// folder, recursively; "X/*.*" and a folder X are X with all it holds; a file
// is stored under its name relative to the base folder (its last part when it
// lies outside it). `skip` (the archive itself) is never added. Returns false
// when a named item does not exist.
bool collect(const std::vector<std::string> &names, const std::string &skip, std::vector<Item> &out);

// What a save needs of the archive it replaces: the path to write (a link is
// followed, so the file it names is replaced, not the link), and Ok, or the
// failure: an archive the user may not write, one that is not a regular file,
// or one with more than one name (hard links): replacing it by a new file
// would leave the other names holding the old archive, so it is refused.
int prepareTarget(const std::string &archive, std::string &target, bool &exists);

// A new file beside the archive for writing, locked while it lives (another
// process's clean-up leaves it alone) and removed unless committed.
class TempFile {
public:
    explicit TempFile(const std::string &archive);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::string &path() const { return path_; }
    // Flushes it to disk and puts it in the archive's place.
    bool commit(const std::string &archive);

private:
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace arc
