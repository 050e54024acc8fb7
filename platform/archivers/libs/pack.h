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

// Names after the archive, in order: a name ending in '/' that is a folder sets
// the base folder for the names after it; "*.*" is every entry of the base
// folder, recursively; "X/*.*" and a folder X are X with all it holds; a file
// is stored under its name relative to the base folder (its last part when it
// lies outside it). `skip` (the archive itself) is never added. Returns false
// when a named item does not exist.
bool collect(const std::vector<std::string> &names, const std::string &skip, std::vector<Item> &out);

// A new file beside `archive` for writing; "" on failure.
std::string tempBeside(const std::string &archive);
// Replaces `archive` by `temp` (same folder); removes `temp` on failure.
bool commitTemp(const std::string &temp, const std::string &archive);

} // namespace arc
