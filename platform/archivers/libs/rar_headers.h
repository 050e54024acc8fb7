#pragma once
// File headers of a RAR 1.5-4.x archive read from the published layout:
// libarchive splits CP932 names at a 0x5C trail byte and does not check the
// CRC of stored entries, so both come from here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "extract.h"

namespace arc {

struct RarHeader {
    std::string name; // UTF-8
    uint32_t crc = 0;
    bool dir = false;
    bool repeat = false; // same stored name as the header before it
    uint32_t flags = 0;
    uint32_t method = 0;
    uint32_t hostOs = 0;
    uint32_t attr = 0;
    uint32_t dosTime = 0;
    uint64_t dataOffset = 0;
    uint64_t packSize = 0;
    uint64_t unpSize = 0;
};

// Every file header; nullopt when the file is not a RAR 1.5-4.x archive (RAR5 and others).
std::optional<std::vector<RarHeader>> readRarHeaders(const std::string &path);

// Extraction of an archive whose entries are all stored, unencrypted and
// whole, read entirely by us: libarchive takes a second entry of one name for
// the rest of the first. Returns -1 when the archive is not of that kind.
int extractStoredRar(const std::string &path, const std::vector<RarHeader> &headers, const ExtractRequest &req);

} // namespace arc
