#include "rar_headers.h"

#include "platform/core/userfile.h"

#include "extract.h"
#include "result.h"

#include <algorithm>
#include <ctime>

#include <cstdio>
#include <cstring>
#include <zlib.h>

namespace arc {

namespace {

uint32_t rd16(const uint8_t *p) { return p[0] | (p[1] << 8); }
uint32_t rd32(const uint8_t *p) { return rd16(p) | (rd16(p + 2) << 16); }

void appendUtf8(std::string &out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The Unicode form stored after the NUL of a name.
std::string decodeUnicode(const std::string &ascii, const uint8_t *enc, size_t encSize)
{
    std::vector<uint32_t> w;
    size_t pos = 0;
    if (encSize == 0)
        return {};
    const uint32_t high = enc[pos++];
    uint32_t flags = 0;
    int flagBits = 0;
    const size_t maxLen = 1024;
    while (pos < encSize && w.size() < maxLen) {
        if (flagBits == 0) {
            flags = enc[pos++];
            flagBits = 8;
        }
        switch (flags >> 6) {
        case 0:
            if (pos >= encSize)
                return {};
            w.push_back(enc[pos++]);
            break;
        case 1:
            if (pos >= encSize)
                return {};
            w.push_back(enc[pos++] + (high << 8));
            break;
        case 2:
            if (pos + 1 >= encSize)
                return {};
            w.push_back(enc[pos] + (enc[pos + 1] << 8));
            pos += 2;
            break;
        case 3: {
            if (pos >= encSize)
                return {};
            int length = enc[pos++];
            if (length & 0x80) {
                if (pos >= encSize)
                    return {};
                const uint8_t corr = enc[pos++];
                for (length = (length & 0x7F) + 2; length > 0 && w.size() < maxLen; --length) {
                    const size_t i = w.size();
                    const uint8_t b = i < ascii.size() ? static_cast<uint8_t>(ascii[i]) : 0;
                    w.push_back(((b + corr) & 0xFF) + (high << 8));
                }
            } else {
                for (length += 2; length > 0 && w.size() < maxLen; --length) {
                    const size_t i = w.size();
                    w.push_back(i < ascii.size() ? static_cast<uint8_t>(ascii[i]) : 0);
                }
            }
            break;
        }
        }
        flags = (flags << 2) & 0xFF;
        flagBits -= 2;
    }
    std::string out;
    for (uint32_t c : w) {
        if (c == 0)
            break;
        appendUtf8(out, c);
    }
    return out;
}

} // namespace

std::optional<std::vector<RarHeader>> readRarHeaders(const std::string &path)
{
    vx::userfile::Handle file = vx::userfile::open(path, vx::userfile::kNoLimit);
    FILE *f = file.ok() ? ::fdopen(file.fd(), "rb") : nullptr;
    if (!f)
        return std::nullopt;
    file.release(); // fclose closes it
    std::vector<RarHeader> out;
    uint8_t mark[7];
    bool ok = std::fread(mark, 1, 7, f) == 7 && std::memcmp(mark, "Rar!\x1a\x07\x00", 7) == 0;
    std::string prevRaw;
    while (ok) {
        uint8_t base[7];
        const size_t got = std::fread(base, 1, 7, f);
        if (got == 0)
            break;
        if (got != 7) {
            ok = false;
            break;
        }
        const uint32_t type = base[2];
        const uint32_t flags = rd16(base + 3);
        const uint32_t headSize = rd16(base + 5);
        if (headSize < 7) {
            ok = false;
            break;
        }
        std::vector<uint8_t> head(headSize);
        std::memcpy(head.data(), base, 7);
        if (std::fread(head.data() + 7, 1, headSize - 7, f) != headSize - 7) {
            ok = false;
            break;
        }
        uint64_t addSize = 0;
        if (type == 0x7B) // end of archive
            break;
        if (type == 0x74) {
            const uint32_t headCrc =
                static_cast<uint32_t>(::crc32(0L, head.data() + 2, static_cast<uInt>(headSize - 2))) & 0xFFFF;
            if (headSize < 32 || headCrc != rd16(head.data())) {
                ok = false;
                break;
            }
            addSize = rd32(&head[7]);
            size_t at = 32;
            if (flags & 0x100) {
                if (headSize < 40) {
                    ok = false;
                    break;
                }
                addSize |= static_cast<uint64_t>(rd32(&head[32])) << 32;
                at = 40;
            }
            const uint32_t nameSize = rd16(&head[26]);
            if (at + nameSize > headSize) {
                ok = false;
                break;
            }
            const std::string raw(reinterpret_cast<const char *>(&head[at]), nameSize);
            RarHeader h;
            h.crc = rd32(&head[16]);
            h.dir = (flags & 0xE0) == 0xE0;
            h.flags = flags;
            h.hostOs = head[15];
            h.dosTime = rd32(&head[20]);
            h.method = head[25];
            h.attr = rd32(&head[28]);
            h.packSize = addSize;
            h.unpSize = rd32(&head[11]) | (flags & 0x100 ? static_cast<uint64_t>(rd32(&head[36])) << 32 : 0);
            h.dataOffset = static_cast<uint64_t>(std::ftell(f));
            const auto nul = raw.find('\0');
            if (flags & 0x200) {
                if (nul == std::string::npos)
                    h.name = raw; // UTF-8 without a second form
                else
                    h.name = decodeUnicode(raw.substr(0, nul),
                                           reinterpret_cast<const uint8_t *>(raw.data()) + nul + 1,
                                           raw.size() - nul - 1);
            } else {
                h.name = toUtf8Name(raw.substr(0, nul));
            }
            // libarchive takes a header repeating the one before it for
            // the rest of a split file and gives no entry for it.
            h.repeat = raw == prevRaw;
            out.push_back(h);
            prevRaw = raw;
        } else if (flags & 0x8000) {
            if (headSize < 11) {
                ok = false;
                break;
            }
            addSize = rd32(&head[7]);
        }
        if (addSize && std::fseek(f, static_cast<long>(addSize), SEEK_CUR) != 0)
            ok = false;
    }
    std::fclose(f);
    if (!ok)
        return std::nullopt;
    return out;
}

namespace {

class StoredRarSource : public EntrySource {
public:
    StoredRarSource(FILE *f, const std::vector<RarHeader> &headers) : f_(f), headers_(headers) {}
    int next(SourceEntry &e) override
    {
        if (index_ >= headers_.size())
            return kEndOfArchive;
        const RarHeader &h = headers_[index_++];
        e.name = h.name;
        e.type = h.dir ? 0040000 : 0100000;
        e.perm = h.hostOs == 3 ? (h.attr & 0777) : 0644; // Unix hosts keep the mode
        e.crc32 = h.dir ? std::nullopt : std::optional<uint32_t>(h.crc);
        struct tm tm {};
        tm.tm_year = static_cast<int>((h.dosTime >> 25) + 80);
        tm.tm_mon = static_cast<int>(((h.dosTime >> 21) & 15) - 1);
        tm.tm_mday = static_cast<int>((h.dosTime >> 16) & 31);
        tm.tm_hour = static_cast<int>((h.dosTime >> 11) & 31);
        tm.tm_min = static_cast<int>((h.dosTime >> 5) & 63);
        tm.tm_sec = static_cast<int>((h.dosTime & 31) * 2);
        tm.tm_isdst = -1;
        e.mtime = static_cast<long long>(std::mktime(&tm));
        left_ = h.dir ? 0 : h.packSize;
        offset_ = 0;
        return std::fseek(f_, static_cast<long>(h.dataOffset), SEEK_SET) == 0 ? Ok : Damaged;
    }
    int read(const void *&buf, size_t &size, int64_t &offset) override
    {
        if (left_ == 0)
            return kEndOfArchive;
        const size_t want = static_cast<size_t>(std::min<uint64_t>(left_, sizeof buf_));
        if (std::fread(buf_, 1, want, f_) != want)
            return Damaged; // cut short
        buf = buf_;
        size = want;
        offset = offset_;
        offset_ += static_cast<int64_t>(want);
        left_ -= want;
        return Ok;
    }

private:
    FILE *f_;
    const std::vector<RarHeader> &headers_;
    size_t index_ = 0;
    uint64_t left_ = 0;
    int64_t offset_ = 0;
    char buf_[1 << 16];
};

} // namespace

int extractStoredRar(const std::string &path, const std::vector<RarHeader> &headers, const ExtractRequest &req)
{
    for (const RarHeader &h : headers)
        if ((!h.dir && h.method != 0x30) || (h.flags & 0x07) || h.packSize != h.unpSize)
            return -1; // compressed, encrypted or split: libarchive's work
    vx::userfile::Handle file = vx::userfile::open(path, vx::userfile::kNoLimit);
    FILE *f = file.ok() ? ::fdopen(file.fd(), "rb") : nullptr;
    if (!f)
        return CannotRead;
    file.release(); // fclose closes it
    StoredRarSource source(f, headers);
    const int r = extractFrom(source, req);
    std::fclose(f);
    return r;
}

} // namespace arc
