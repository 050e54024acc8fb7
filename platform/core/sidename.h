#pragma once
// Names of our own files that stand beside a user's file while it is
// rewritten (temporary copies, staging folders, backups). The file system
// takes names of up to 255 bytes, so a name built by adding to the user's
// name is cut first: whole UTF-8 characters only, and a cut name carries a
// hash of the whole one, so two long names that begin alike never share
// leftovers. The same name always gives the same prefix, which is how the
// next save finds what a killed one left.
//
// Plain C++ and header-only: the archiver libraries link no Qt.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx::sidename {

// NAME_MAX of every file system the suite writes to.
inline constexpr std::size_t kNameMax = 255;

// The longest start of `name` of at most `maxBytes` bytes that ends on a
// character boundary (a cut never leaves half a UTF-8 sequence; bytes that
// are not UTF-8 count as characters of one byte).
inline std::string_view wholeCharsPrefix(std::string_view name, std::size_t maxBytes)
{
    if (name.size() <= maxBytes)
        return name;
    // Find the lead byte of the sequence the cut falls in (at most three
    // continuation bytes back); cut before it when it would not fit whole.
    std::size_t lead = maxBytes;
    while (lead > 0 && maxBytes - lead < 3 && (static_cast<unsigned char>(name[lead]) & 0xC0) == 0x80)
        --lead;
    const auto c = static_cast<unsigned char>(name[lead]);
    const std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return name.substr(0, lead + len > maxBytes ? lead : maxBytes);
}

// 64-bit FNV-1a: stable across runs and builds, which the leftover search needs.
inline std::uint64_t nameHash(std::string_view name)
{
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return h;
}

// The form of `name` that fits in `room` bytes: the name itself when it fits,
// otherwise its start (whole characters) followed by "~" and eight hex digits
// of the whole name's hash.
inline std::string fitted(std::string_view name, std::size_t room)
{
    if (name.size() <= room)
        return std::string(name);
    constexpr std::size_t kMark = 9; // "~" + 8 hex digits
    std::string out(wholeCharsPrefix(name, room > kMark ? room - kMark : 0));
    static constexpr char hex[] = "0123456789abcdef";
    const std::uint32_t h = static_cast<std::uint32_t>(nameHash(name) ^ (nameHash(name) >> 32));
    out += '~';
    for (int shift = 28; shift >= 0; shift -= 4)
        out += hex[(h >> shift) & 0xF];
    return out;
}

// ".<name>.<tag>" (the part before the unique suffix), cut so that the whole
// name with `uniqueBytes` more bytes stays within the limit. `tag` ends with
// its separator, e.g. "vxtmp-".
inline std::string prefix(std::string_view name, std::string_view tag, std::size_t uniqueBytes)
{
    const std::size_t fixed = 2 + tag.size() + uniqueBytes; // the two dots
    const std::size_t room = kNameMax > fixed ? kNameMax - fixed : 0;
    std::string out = ".";
    out += fitted(name, room);
    out += '.';
    out += tag;
    return out;
}

} // namespace vx::sidename
