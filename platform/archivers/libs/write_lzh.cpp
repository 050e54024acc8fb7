// LZH archives with our own encoder; header levels 0 to 2.
#include "extract.h"
#include "fsutil.h"
#include "lzh_encode.h"
#include "result.h"
#include "write.h"

#include "platform/core/userfile.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <set>

namespace arc {

namespace {

struct Entry {
    std::string name; // UTF-8, '/' separated, no trailing '/'
    bool dir = false;
    std::vector<uint8_t> data;
    time_t mtime = 0;
    uint32_t mode = 0644;
};

void le16(std::vector<uint8_t> &v, uint32_t x)
{
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void le32(std::vector<uint8_t> &v, uint32_t x)
{
    le16(v, x & 0xFFFF);
    le16(v, x >> 16);
}
void put16(std::vector<uint8_t> &v, size_t at, uint32_t x)
{
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}

uint32_t dosTime(time_t t)
{
    struct tm tm {};
    localtime_r(&t, &tm);
    if (tm.tm_year < 80)
        return (1u << 21) | (1u << 16);
    return (static_cast<uint32_t>(tm.tm_year - 80) << 25) | (static_cast<uint32_t>(tm.tm_mon + 1) << 21) |
           (static_cast<uint32_t>(tm.tm_mday) << 16) | (static_cast<uint32_t>(tm.tm_hour) << 11) |
           (static_cast<uint32_t>(tm.tm_min) << 5) | static_cast<uint32_t>(tm.tm_sec / 2);
}

// Names are stored in CP932 as LZH readers expect; when CP932 cannot hold
// every name of the archive, all of them are stored in UTF-8 (one archive,
// one encoding, so that a reader can tell).
std::string storedName(const std::string &utf8, bool cp932)
{
    std::string out;
    return cp932 && utf8ToCp932(utf8, out) ? out : utf8;
}

bool allCp932(const std::vector<std::string> &names)
{
    std::string out;
    for (const std::string &n : names)
        if (!utf8ToCp932(n, out))
            return false;
    return true;
}

// Packs one entry: the header then the data.
int emit(std::vector<uint8_t> &out, const Entry &e, int method, int level, bool cp932)
{
    std::vector<uint8_t> packed;
    const char *id = "-lh0-";
    if (e.dir) {
        id = "-lhd-";
    } else if (method != 0 && !e.data.empty()) {
        const int dicbit = method == 5 ? 13 : method == 6 ? 15 : 16;
        packed = lzhEncode(e.data.data(), e.data.size(), dicbit);
        id = method == 5 ? "-lh5-" : method == 6 ? "-lh6-" : "-lh7-";
        if (method == -1 && packed.size() >= e.data.size()) {
            packed.clear();
            id = "-lh0-";
        }
    }
    const bool stored = std::string(id) == "-lh0-" || e.dir;
    const std::vector<uint8_t> &body = stored ? e.data : packed;
    if (e.data.size() > 0xFFFFFFFFull || body.size() > 0xFFFFFFFFull)
        return Unsupported;
    const uint16_t crc = lzhCrc16(e.data.data(), e.data.size());
    const std::string full = storedName(e.name, cp932);
    std::string dirPart, filePart = full;
    if (const auto slash = full.rfind('/'); slash != std::string::npos) {
        dirPart = full.substr(0, slash);
        filePart = full.substr(slash + 1);
    }
    if (e.dir) {
        dirPart = full;
        filePart.clear();
    }
    std::string dirFF = dirPart;
    for (char &c : dirFF)
        if (c == '/')
            c = static_cast<char>(0xFF);
    if (!dirFF.empty())
        dirFF.push_back(static_cast<char>(0xFF));

    std::vector<uint8_t> h;
    if (level == 0) {
        std::string name = full;
        for (char &c : name)
            if (c == '/')
                c = '\\';
        if (e.dir)
            name += '\\';
        if (name.size() > 230)
            return Unsupported;
        h.push_back(0);
        h.push_back(0);
        h.insert(h.end(), id, id + 5);
        le32(h, static_cast<uint32_t>(body.size()));
        le32(h, static_cast<uint32_t>(e.data.size()));
        le32(h, dosTime(e.mtime));
        h.push_back(e.dir ? 0x10 : 0x20);
        h.push_back(0);
        h.push_back(static_cast<uint8_t>(name.size()));
        h.insert(h.end(), name.begin(), name.end());
        le16(h, crc);
        h[0] = static_cast<uint8_t>(h.size() - 2);
        unsigned sum = 0;
        for (size_t i = 2; i < h.size(); ++i)
            sum += h[i];
        h[1] = static_cast<uint8_t>(sum);
    } else if (level == 1) {
        if (filePart.size() > 220)
            return Unsupported;
        std::vector<uint8_t> ext;
        if (!dirFF.empty()) {
            if (dirFF.size() > 0xFFF0)
                return Unsupported;
            ext.push_back(0x02);
            ext.insert(ext.end(), dirFF.begin(), dirFF.end());
        }
        h.push_back(0);
        h.push_back(0);
        h.insert(h.end(), id, id + 5);
        const size_t extTotal = dirFF.empty() ? 0 : ext.size() + 2;
        le32(h, static_cast<uint32_t>(body.size() + extTotal));
        le32(h, static_cast<uint32_t>(e.data.size()));
        le32(h, dosTime(e.mtime));
        h.push_back(0x20);
        h.push_back(1);
        h.push_back(static_cast<uint8_t>(filePart.size()));
        h.insert(h.end(), filePart.begin(), filePart.end());
        le16(h, crc);
        h.push_back('U');
        le16(h, dirFF.empty() ? 0 : static_cast<uint32_t>(ext.size() + 2));
        h[0] = static_cast<uint8_t>(h.size() - 2);
        unsigned sum = 0;
        for (size_t i = 2; i < h.size(); ++i)
            sum += h[i];
        h[1] = static_cast<uint8_t>(sum);
        if (!ext.empty()) {
            h.insert(h.end(), ext.begin(), ext.end());
            le16(h, 0);
        }
    } else if (level == 2) {
        h.push_back(0);
        h.push_back(0);
        h.insert(h.end(), id, id + 5);
        le32(h, static_cast<uint32_t>(body.size()));
        le32(h, static_cast<uint32_t>(e.data.size()));
        le32(h, static_cast<uint32_t>(e.mtime));
        h.push_back(0x20);
        h.push_back(2);
        le16(h, crc);
        h.push_back('U');
        // Extended headers: type, data, then the size of the next one.
        struct Ext {
            uint8_t type;
            std::string data;
        };
        std::vector<Ext> exts;
        exts.push_back({0x00, std::string(2, '\0')}); // header CRC, filled below
        exts.push_back({0x01, filePart});
        if (!dirFF.empty())
            exts.push_back({0x02, dirFF});
        std::string perm(2, '\0');
        const uint32_t mode = (e.dir ? 0040000u : 0100000u) | (e.mode & 0777);
        perm[0] = static_cast<char>(mode & 0xFF);
        perm[1] = static_cast<char>(mode >> 8);
        exts.push_back({0x50, perm});
        size_t crcAt = 0;
        le16(h, static_cast<uint32_t>(exts[0].data.size() + 3));
        for (size_t k = 0; k < exts.size(); ++k) {
            if (exts[k].data.size() + 3 > 0xFFFF)
                return Unsupported;
            h.push_back(exts[k].type);
            if (k == 0)
                crcAt = h.size();
            h.insert(h.end(), exts[k].data.begin(), exts[k].data.end());
            le16(h, k + 1 < exts.size() ? static_cast<uint32_t>(exts[k + 1].data.size() + 3) : 0);
        }
        // A header whose size ends in a zero byte would read as the end mark.
        if ((h.size() & 0xFF) == 0)
            h.push_back(0);
        if (h.size() > 0xFFFF)
            return Unsupported;
        put16(h, 0, static_cast<uint32_t>(h.size()));
        put16(h, crcAt, lzhCrc16(h.data(), h.size()));
    } else {
        return Unsupported;
    }
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), body.begin(), body.end());
    return Ok;
}

int readOldFrom(struct archive *r, const std::set<std::string> &taken, std::vector<Entry> &out)
{
    struct archive_entry *e = nullptr;
    for (;;) {
        const int h = archive_read_next_header(r, &e);
        if (h == ARCHIVE_EOF)
            return Ok;
        if (headerResult(r, h) != Ok)
            return Damaged;
        const char *u = archive_entry_pathname_utf8(e);
        const std::string raw = u ? u : toUtf8Name(archive_entry_pathname(e) ? archive_entry_pathname(e) : "");
        std::string rel;
        const bool keep = safeRelative(raw, rel) && !taken.count(rel);
        Entry en;
        en.name = rel;
        en.dir = archive_entry_filetype(e) == AE_IFDIR;
        en.mtime = archive_entry_mtime(e);
        en.mode = archive_entry_perm(e);
        const void *buf = nullptr;
        size_t size = 0;
        la_int64_t off = 0;
        int d;
        while ((d = dataResult(archive_read_data_block(r, &buf, &size, &off))) == Ok)
            if (keep)
                en.data.insert(en.data.end(), static_cast<const uint8_t *>(buf),
                               static_cast<const uint8_t *>(buf) + size);
        if (d != kEndOfArchive)
            return Damaged;
        if (keep)
            out.push_back(std::move(en));
    }
}

// A file to pack. LZH sizes are 32 bits: a larger file is refused before
// any of it is read.
int readFile(const std::string &path, std::vector<uint8_t> &data)
{
    vx::userfile::Handle file = vx::userfile::open(path, 0xFFFFFFFFll);
    if (file.status() == vx::userfile::Status::TooLarge)
        return Unsupported;
    if (!file.ok())
        return CannotRead;
    data.resize(static_cast<size_t>(file.size()));
    size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(file.fd(), data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return CannotRead;
        got += static_cast<size_t>(n);
    }
    return Ok;
}

// The entries an update keeps. Every entry is read to its end so that its
// CRC is checked: a damaged archive is the failure and stays as it is.
int readOld(const std::string &archive, const std::set<std::string> &taken, std::vector<Entry> &out)
{
    int result = CannotRead;
    for (const char *charset : {"CP932", "UTF-8"}) {
        out.clear();
        auto reader = openReader(Format::Lzh, archive, charset, &result);
        if (!reader)
            return result;
        result = readOldFrom(reader->get(), taken, out);
        if (result != Damaged)
            break;
    }
    return result;
}

} // namespace

int writeLzh(const std::string &archive, const std::vector<Item> &items, int method, int level, bool update)
{
    if (level < 0 || level > 2)
        return Unsupported; // level 3 headers are not written here
    if (method != 0 && method != 5 && method != 6 && method != 7 && method != -1)
        return Unsupported; // -lh1- is not written here
    std::set<std::string> taken;
    for (const Item &it : items)
        taken.insert(it.name);
    std::string target;
    bool exists = false;
    if (const int p = prepareTarget(archive, target, exists); p != Ok)
        return p;
    std::vector<Entry> old;
    if (update && exists) {
        if (const int r = readOld(target, taken, old); r != Ok)
            return r;
    }
    std::vector<std::string> names;
    for (const Entry &e : old)
        names.push_back(e.name);
    for (const Item &it : items)
        names.push_back(it.name);
    const bool cp932 = allCp932(names);
    TempFile temp(target);
    if (!temp.ok())
        return WriteFailed;
    const int wfd = ::dup(temp.fd());
    FILE *f = wfd >= 0 ? ::fdopen(wfd, "wb") : nullptr;
    if (!f) {
        if (wfd >= 0)
            ::close(wfd);
        return WriteFailed;
    }
    int result = Ok;
    std::vector<uint8_t> out;
    auto flushOut = [&] {
        if (!out.empty() && std::fwrite(out.data(), 1, out.size(), f) != out.size())
            result = WriteFailed;
        out.clear();
    };
    for (const Entry &e : old) {
        if (result != Ok)
            break;
        result = emit(out, e, method, level, cp932);
        flushOut();
    }
    for (const Item &it : items) {
        if (result != Ok)
            break;
        Entry e;
        e.name = it.name;
        e.dir = it.dir;
        struct stat is {};
        if (::stat(it.disk.c_str(), &is) != 0) {
            result = CannotRead;
            break;
        }
        e.mtime = is.st_mtime;
        e.mode = is.st_mode & 0777;
        if (!it.dir && (result = readFile(it.disk, e.data)) != Ok)
            break;
        result = emit(out, e, method, level, cp932);
        flushOut();
    }
    if (result == Ok) {
        out.push_back(0); // end of archive
        flushOut();
    }
    if (std::fclose(f) != 0 && result == Ok)
        result = WriteFailed;
    if (result != Ok)
        return result;
    return temp.commit(target) ? Ok : WriteFailed;
}

} // namespace arc
