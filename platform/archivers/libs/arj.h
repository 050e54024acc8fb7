#pragma once
// ARJ through Debian's `arj` program, started with an argument vector (never a
// shell) and a time limit. The archive's names are read first: `arj x` writes
// names with ".." outside its folder, so one unsafe name refuses the archive.
#include <optional>
#include <string>
#include <vector>

namespace arc {

// Names of the archive's file headers (raw bytes); nullopt when it is no ARJ.
std::optional<std::vector<std::string>> readArjNames(const std::string &path);
// Path of the `arj` program, "" when it is not installed.
std::string arjProgram();
int extractArj(const std::string &archive, const std::string &dest, bool keepPaths);
// Seconds one `arj` run may take (tests shorten it).
void setArjTimeLimit(int seconds);

} // namespace arc
