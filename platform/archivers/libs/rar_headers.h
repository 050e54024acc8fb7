#pragma once
// File headers of a RAR 1.5-4.x archive read from the published layout:
// libarchive splits CP932 names at a 0x5C trail byte and does not check the
// CRC of stored entries, so both come from here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arc {

struct RarHeader {
    std::string name; // UTF-8
    uint32_t crc = 0;
    bool dir = false;
};

// nullopt when the file is not a RAR 1.5-4.x archive (RAR5 and others).
std::optional<std::vector<RarHeader>> readRarHeaders(const std::string &path);

} // namespace arc
