#pragma once
// Archive writers. Each writes to a temporary file beside the archive and
// replaces the archive only when everything was written; with `update` the
// entries of an existing archive that no new item replaces are kept.
#include "pack.h"

#include <string>
#include <vector>

namespace arc {

enum class TarFilter { None, Gzip, Bzip2 };

int writeZip(const std::string &archive, const std::vector<Item> &items, int level, bool update);
int writeTar(const std::string &archive, const std::vector<Item> &items, TarFilter filter, int level);
int writeCab(const std::string &archive, const std::vector<Item> &items, bool update);

// LZH: method 0 (-lh0-), 5, 6, 7, or -1 for Auto (-lh7-, stored when it does
// not shrink); header level 0 to 2.
int writeLzh(const std::string &archive, const std::vector<Item> &items, int method, int headerLevel, bool update);

} // namespace arc
