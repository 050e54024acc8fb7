#pragma once
// Our LZH encoder: LZ77 over a sliding window with static Huffman blocks, the
// layout the -lh5-, -lh6- and -lh7- methods share (window 8, 32, 64 KB).
#include <cstdint>
#include <string>
#include <vector>

namespace arc {

// dicbit 13 (lh5), 15 (lh6) or 16 (lh7).
std::vector<uint8_t> lzhEncode(const uint8_t *data, size_t size, int dicbit);
// CRC-16 as LZH headers and data use it (reflected 0xA001, start 0).
uint16_t lzhCrc16(const uint8_t *data, size_t size, uint16_t crc = 0);

} // namespace arc
