#include "extract.h"

#include "fsutil.h"
#include "result.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <map>
#include <set>

namespace arc {

std::string toUtf8Name(const std::string &raw)
{
    if (isUtf8(raw))
        return raw;
    std::string out;
    if (cp932ToUtf8(raw, out))
        return out;
    // Neither: keep a readable stand-in for every odd byte.
    out.clear();
    for (unsigned char c : raw)
        out += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("_");
    return out;
}

::archive *openReader(Format fmt, const std::string &path)
{
    struct archive *a = archive_read_new();
    if (!a)
        return nullptr;
    int r = ARCHIVE_OK;
    switch (fmt) {
    case Format::Lzh:
        r = archive_read_support_format_lha(a);
        if (r == ARCHIVE_OK)
            r = archive_read_set_format_option(a, "lha", "hdrcharset", "CP932");
        break;
    case Format::Zip:
        r = archive_read_support_format_zip(a);
        if (r == ARCHIVE_OK)
            r = archive_read_set_format_option(a, "zip", "hdrcharset", "CP932");
        break;
    case Format::Cab:
        r = archive_read_support_format_cab(a);
        break;
    case Format::Tar:
        r = archive_read_support_format_tar(a);
        if (r == ARCHIVE_OK)
            r = archive_read_support_format_gnutar(a);
        if (r == ARCHIVE_OK)
            r = archive_read_support_filter_gzip(a);
        if (r == ARCHIVE_OK)
            r = archive_read_support_filter_bzip2(a);
        break;
    case Format::Rar:
        r = archive_read_support_format_rar(a);
        if (r == ARCHIVE_OK)
            r = archive_read_support_format_rar5(a);
        break;
    }
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
        archive_read_free(a);
        return nullptr;
    }
    if (archive_read_open_filename(a, path.c_str(), 1 << 16) != ARCHIVE_OK) {
        archive_read_free(a);
        return nullptr;
    }
    return a;
}

bool isArchiveOf(Format fmt, const std::string &path)
{
    struct archive *a = openReader(fmt, path);
    if (!a)
        return false;
    struct archive_entry *e = nullptr;
    const int r = archive_read_next_header(a, &e);
    archive_read_free(a);
    return r == ARCHIVE_OK || r == ARCHIVE_WARN;
}

namespace {

// Writes checked entries below one staging folder.
class Stage {
public:
    explicit Stage(std::string root) : root_(std::move(root)) {}

    // Parent folders of `rel` are created; none of them may be a link we made.
    bool prepare(const std::string &rel)
    {
        std::string sofar;
        size_t pos = 0;
        while ((pos = rel.find('/', pos)) != std::string::npos) {
            sofar = rel.substr(0, pos);
            if (links_.count(sofar))
                return false;
            const std::string full = root_ + "/" + sofar;
            struct stat st {};
            if (::lstat(full.c_str(), &st) == 0) {
                if (!S_ISDIR(st.st_mode))
                    return false;
            } else if (::mkdir(full.c_str(), 0777) != 0) {
                return false;
            }
            ++pos;
        }
        return !links_.count(rel);
    }

    std::string full(const std::string &rel) const { return root_ + "/" + rel; }
    void addLink(const std::string &rel) { links_.insert(rel); }
    bool isLink(const std::string &rel) const { return links_.count(rel) != 0; }
    void addFile(const std::string &rel) { files_.insert(rel); }
    bool hasFile(const std::string &rel) const { return files_.count(rel) != 0; }

private:
    std::string root_;
    std::set<std::string> links_;
    std::set<std::string> files_;
};

// The link target resolved against the link's folder stays inside.
bool linkStaysInside(const std::string &rel, const std::string &target)
{
    if (target.empty() || target[0] == '/')
        return false;
    std::string dir = rel;
    const auto slash = dir.rfind('/');
    dir = slash == std::string::npos ? std::string() : dir.substr(0, slash);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= dir.size() && !dir.empty()) {
        const auto e = dir.find('/', start);
        parts.push_back(dir.substr(start, e == std::string::npos ? std::string::npos : e - start));
        if (e == std::string::npos)
            break;
        start = e + 1;
    }
    start = 0;
    while (start <= target.size()) {
        const auto e = target.find('/', start);
        const std::string p = target.substr(start, e == std::string::npos ? std::string::npos : e - start);
        if (p == "..") {
            if (parts.empty())
                return false;
            parts.pop_back();
        } else if (!p.empty() && p != ".") {
            parts.push_back(p);
        }
        if (e == std::string::npos)
            break;
        start = e + 1;
    }
    return true;
}

bool selected(const ExtractRequest &req, const std::string &rel)
{
    if (req.patterns.empty())
        return true;
    for (const std::string &p : req.patterns)
        if (wildMatch(p, rel) || wildMatch(p, baseName(rel)))
            return true;
    return false;
}

int writeData(struct archive *a, int fd, uint32_t &crc)
{
    crc = static_cast<uint32_t>(::crc32(0L, Z_NULL, 0));
    const void *buf = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    la_int64_t written = 0;
    for (;;) {
        const int r = archive_read_data_block(a, &buf, &size, &offset);
        if (r == ARCHIVE_EOF)
            return Ok;
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
            return Damaged;
        if (offset > written) {
            // A sparse hole: zeros count for the CRC too.
            static const char zeros[4096] = {};
            la_int64_t gap = offset - written;
            while (gap > 0) {
                const size_t n = static_cast<size_t>(std::min<la_int64_t>(gap, sizeof zeros));
                if (::write(fd, zeros, n) != static_cast<ssize_t>(n))
                    return WriteFailed;
                crc = static_cast<uint32_t>(::crc32(crc, reinterpret_cast<const Bytef *>(zeros), n));
                gap -= n;
            }
            written = offset;
        }
        const char *p = static_cast<const char *>(buf);
        size_t left = size;
        while (left > 0) {
            const ssize_t w = ::write(fd, p, left);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return WriteFailed;
            }
            p += w;
            left -= static_cast<size_t>(w);
        }
        crc = static_cast<uint32_t>(::crc32(crc, static_cast<const Bytef *>(buf), static_cast<uInt>(size)));
        written += static_cast<la_int64_t>(size);
    }
}

int extractEntries(struct archive *a, Stage &stage, const ExtractRequest &req, const OverrideFn &override)
{
    struct archive_entry *e = nullptr;
    size_t index = 0;
    for (;;) {
        const int hr = archive_read_next_header(a, &e);
        if (hr == ARCHIVE_EOF)
            return Ok;
        if (hr != ARCHIVE_OK && hr != ARCHIVE_WARN)
            return Damaged;
        EntryOverride ov;
        if (override)
            ov = override(index);
        ++index;
        std::string raw;
        if (ov.name) {
            raw = *ov.name;
        } else if (const char *u = archive_entry_pathname_utf8(e)) {
            raw = u;
        } else if (const char *p = archive_entry_pathname(e)) {
            raw = toUtf8Name(p);
        } else {
            return Damaged;
        }
        std::string rel;
        if (!safeRelative(raw, rel))
            return UnsafeEntry;
        const mode_t type = archive_entry_filetype(e);
        const char *hard = archive_entry_hardlink(e);
        if (!req.keepPaths) {
            if (type == AE_IFDIR)
                continue;
            rel = baseName(rel);
        }
        if (hard) {
            std::string target;
            if (!safeRelative(toUtf8Name(hard), target) || !req.keepPaths)
                return UnsafeEntry;
            if (!selected(req, rel))
                continue;
            if (!stage.hasFile(target) || !stage.prepare(rel))
                return UnsafeEntry;
            ::unlink(stage.full(rel).c_str());
            if (::link(stage.full(target).c_str(), stage.full(rel).c_str()) != 0)
                return WriteFailed;
            stage.addFile(rel);
            continue;
        }
        switch (type) {
        case AE_IFDIR: {
            if (!stage.prepare(rel + "/"))
                return UnsafeEntry;
            continue;
        }
        case AE_IFLNK: {
            const char *t = archive_entry_symlink_utf8(e);
            if (!t)
                t = archive_entry_symlink(e);
            if (!t || !linkStaysInside(rel, t))
                return UnsafeEntry;
            if (!selected(req, rel))
                continue;
            if (!stage.prepare(rel))
                return UnsafeEntry;
            ::unlink(stage.full(rel).c_str());
            if (::symlink(t, stage.full(rel).c_str()) != 0)
                return WriteFailed;
            stage.addLink(rel);
            continue;
        }
        case AE_IFREG:
        case 0: // some formats leave the type unset for plain files
            break;
        default:
            return UnsafeEntry; // devices, FIFOs, sockets
        }
        if (!selected(req, rel))
            continue;
        if (!stage.prepare(rel))
            return UnsafeEntry;
        const std::string path = stage.full(rel);
        ::unlink(path.c_str());
        const mode_t perm = archive_entry_perm(e) ? (archive_entry_perm(e) & 0777) : 0644;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return WriteFailed;
        uint32_t crc = 0;
        int r = writeData(a, fd, crc);
        if (::fchmod(fd, perm) != 0 && r == Ok)
            r = WriteFailed;
        if (::close(fd) != 0 && r == Ok)
            r = WriteFailed;
        if (r != Ok)
            return r;
        if (ov.crc32 && *ov.crc32 != crc)
            return Damaged;
        if (archive_entry_mtime_is_set(e)) {
            struct timeval tv[2];
            tv[0].tv_sec = tv[1].tv_sec = archive_entry_mtime(e);
            tv[0].tv_usec = tv[1].tv_usec = 0;
            ::lutimes(path.c_str(), tv);
        }
        stage.addFile(rel);
    }
}

} // namespace

int extractArchive(Format fmt, const ExtractRequest &req, const OverrideFn &override)
{
    struct stat st {};
    if (::stat(req.archive.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return CannotRead;
    struct archive *a = openReader(fmt, req.archive);
    if (!a)
        return CannotRead;
    const std::string staging = makeStaging(req.dest);
    if (staging.empty()) {
        archive_read_free(a);
        return WriteFailed;
    }
    Stage stage(staging);
    int r = extractEntries(a, stage, req, override);
    if (archive_read_free(a) != ARCHIVE_OK && r == Ok)
        r = Damaged;
    if (r != Ok) {
        removeTree(staging);
        return r;
    }
    return moveInto(staging, req.dest) ? Ok : WriteFailed;
}

} // namespace arc
