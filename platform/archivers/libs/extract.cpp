#include "extract.h"

#include "fsutil.h"
#include "result.h"
#include "tarinput.h"

#include "platform/core/userfile.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

Reader::Reader() = default;

Reader::~Reader()
{
    if (a_)
        archive_read_free(a_);
    tar_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

bool Reader::finish() { return !tar_ || tar_->drain(); }


std::unique_ptr<Reader> openReader(Format fmt, const std::string &path, const char *lzhCharset, int *why)
{
    int dummy = 0;
    int &result = why ? *why : dummy;
    result = CannotRead;
    vx::userfile::Handle file = vx::userfile::open(path, vx::userfile::kNoLimit);
    if (!file.ok())
        return nullptr;
    auto reader = std::make_unique<Reader>();
    reader->fd_ = file.release();
    struct archive *a = archive_read_new();
    if (!a)
        return nullptr;
    reader->a_ = a;
    int r = ARCHIVE_OK;
    switch (fmt) {
    case Format::Lzh:
        r = archive_read_support_format_lha(a);
        if (r == ARCHIVE_OK)
            r = archive_read_set_format_option(a, "lha", "hdrcharset", lzhCharset);
        break;
    case Format::Zip:
        // Names without the UTF-8 mark come as stored and are decoded by
        // toUtf8Name: UTF-8 when they are (Info-ZIP on Linux), else CP932.
        r = archive_read_support_format_zip(a);
        break;
    case Format::Cab:
        r = archive_read_support_format_cab(a);
        break;
    case Format::Tar:
        r = archive_read_support_format_tar(a);
        if (r == ARCHIVE_OK)
            r = archive_read_support_format_gnutar(a);
        break;
    case Format::Rar:
        r = archive_read_support_format_rar(a);
        if (r == ARCHIVE_OK)
            r = archive_read_support_format_rar5(a);
        break;
    }
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
        return nullptr;
    if (fmt == Format::Tar) {
        reader->tar_ = std::make_unique<TarInput>(reader->fd_);
        archive_read_set_callback_data(a, reader->tar_.get());
        archive_read_set_read_callback(a, tarRead);
        archive_read_set_skip_callback(a, tarSkip);
        r = archive_read_open1(a);
    } else {
        r = archive_read_open_fd(a, reader->fd_, 1 << 20);
    }
    if (r != ARCHIVE_OK) {
        result = reader->tar_ && reader->tar_->damaged ? Damaged : CannotRead;
        return nullptr;
    }
    result = Ok;
    return reader;
}

int headerResult(struct archive *a, int r)
{
    if (r == ARCHIVE_OK)
        return Ok;
    if (r != ARCHIVE_WARN)
        return Damaged;
    // Let through: a name, link target, user or group name that the locale
    // cannot convert (we decode names ourselves from the raw bytes).
    const char *msg = archive_error_string(a);
    if (msg && std::strstr(msg, "cannot be converted"))
        return Ok;
    return Damaged;
}

int dataResult(int r) { return r == ARCHIVE_OK ? Ok : r == ARCHIVE_EOF ? kEndOfArchive : Damaged; }

bool isArchiveOf(Format fmt, const std::string &path)
{
    for (const char *charset : {"CP932", "UTF-8"}) {
        auto reader = openReader(fmt, path, charset);
        if (!reader)
            return false;
        struct archive_entry *e = nullptr;
        const int r = archive_read_next_header(reader->get(), &e);
        if (r == ARCHIVE_OK || r == ARCHIVE_WARN)
            return true;
        if (fmt != Format::Lzh)
            break;
    }
    return false;
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

// Gathers small blocks into large writes.
class FileWriter {
public:
    explicit FileWriter(int fd) : fd_(fd) {}
    bool put(const char *p, size_t n)
    {
        if (buf_.size() + n > kSize && !flush())
            return false;
        // Blocks of a useful size go out as they are: copying them costs
        // more than the write (a cabinet's 32 KB blocks).
        if (n >= kDirect) {
            if (!buf_.empty() && !flush())
                return false;
            return writeAll(p, n);
        }
        buf_.insert(buf_.end(), p, p + n);
        return true;
    }
    bool flush()
    {
        const bool ok = writeAll(buf_.data(), buf_.size());
        buf_.clear();
        return ok;
    }

private:
    static constexpr size_t kSize = 1 << 20;
    static constexpr size_t kDirect = 16 << 10;
    bool writeAll(const char *p, size_t left)
    {
        while (left > 0) {
            const ssize_t w = ::write(fd_, p, left);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            p += w;
            left -= static_cast<size_t>(w);
        }
        return true;
    }
    int fd_;
    std::vector<char> buf_;
};

// The CRC-32 is computed only when the entry has one to check.
int writeData(EntrySource &source, int fd, bool wantCrc, uint32_t &crc)
{
    crc = static_cast<uint32_t>(::crc32(0L, Z_NULL, 0));
    FileWriter out(fd);
    const void *buf = nullptr;
    size_t size = 0;
    int64_t offset = 0;
    int64_t written = 0;
    for (;;) {
        const int r = source.read(buf, size, offset);
        if (r == kEndOfArchive)
            return out.flush() ? Ok : WriteFailed;
        if (r != Ok)
            return r;
        if (offset > written) {
            // A sparse hole: zeros count for the CRC too.
            static const char zeros[4096] = {};
            int64_t gap = offset - written;
            while (gap > 0) {
                const size_t n = static_cast<size_t>(std::min<int64_t>(gap, sizeof zeros));
                if (!out.put(zeros, n))
                    return WriteFailed;
                if (wantCrc)
                    crc = static_cast<uint32_t>(::crc32(crc, reinterpret_cast<const Bytef *>(zeros), n));
                gap -= n;
            }
            written = offset;
        }
        if (!out.put(static_cast<const char *>(buf), size))
            return WriteFailed;
        if (wantCrc)
            crc = static_cast<uint32_t>(::crc32(crc, static_cast<const Bytef *>(buf), static_cast<uInt>(size)));
        written += static_cast<int64_t>(size);
    }
}

int extractEntries(EntrySource &source, Stage &stage, const ExtractRequest &req)
{
    for (bool any = false;; any = true) {
        SourceEntry e;
        const int hr = source.next(e);
        // No entry at all is no archive (a file of zeros reads as an empty TAR).
        if (hr == kEndOfArchive)
            return any ? Ok : CannotRead;
        if (hr != Ok)
            return hr;
        const unsigned type = e.type & S_IFMT;
        // "./" (GNU tar's "-C dir .") is the destination itself.
        if (isSelfName(e.name) && type == S_IFDIR && !e.hardlink)
            continue;
        std::string rel;
        if (!safeRelative(e.name, rel))
            return UnsafeEntry;
        if (!req.keepPaths) {
            if (type == S_IFDIR)
                continue;
            rel = baseName(rel);
        }
        if (e.hardlink) {
            std::string target;
            if (!safeRelative(*e.hardlink, target) || !req.keepPaths)
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
        case S_IFDIR:
            if (!stage.prepare(rel + "/"))
                return UnsafeEntry;
            continue;
        case S_IFLNK:
            if (!linkStaysInside(rel, e.symlink))
                return UnsafeEntry;
            if (!selected(req, rel))
                continue;
            if (!stage.prepare(rel))
                return UnsafeEntry;
            ::unlink(stage.full(rel).c_str());
            if (::symlink(e.symlink.c_str(), stage.full(rel).c_str()) != 0)
                return WriteFailed;
            stage.addLink(rel);
            continue;
        case S_IFREG:
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
        // A later entry of the same name replaces the earlier one.
        ::unlink(path.c_str());
        const mode_t perm = e.perm ? (e.perm & 0777) : 0644;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return WriteFailed;
        uint32_t crc = 0;
        int r = writeData(source, fd, e.crc32.has_value(), crc);
        if (::fchmod(fd, perm) != 0 && r == Ok)
            r = WriteFailed;
        if (::close(fd) != 0 && r == Ok)
            r = WriteFailed;
        if (r != Ok)
            return r;
        if (e.crc32 && *e.crc32 != crc)
            return Damaged;
        if (e.mtime) {
            struct timeval tv[2];
            tv[0].tv_sec = tv[1].tv_sec = static_cast<time_t>(*e.mtime);
            tv[0].tv_usec = tv[1].tv_usec = 0;
            ::lutimes(path.c_str(), tv);
        }
        stage.addFile(rel);
    }
}

// Entries as libarchive reads them, with what the format's own reader knows better.
class LibarchiveSource : public EntrySource {
public:
    LibarchiveSource(struct archive *a, const OverrideFn &override) : a_(a), override_(override) {}
    int next(SourceEntry &out) override
    {
        struct archive_entry *e = nullptr;
        const int hr = archive_read_next_header(a_, &e);
        if (hr == ARCHIVE_EOF)
            return kEndOfArchive;
        if (headerResult(a_, hr) != Ok)
            return Damaged;
        EntryOverride ov;
        if (override_)
            ov = override_(index_);
        ++index_;
        if (ov.name)
            out.name = *ov.name;
        else if (const char *u = archive_entry_pathname_utf8(e))
            out.name = u;
        else if (const char *p = archive_entry_pathname(e))
            out.name = toUtf8Name(p);
        else
            return Damaged;
        out.type = archive_entry_filetype(e);
        if (const char *h = archive_entry_hardlink(e))
            out.hardlink = toUtf8Name(h);
        if (out.type == AE_IFLNK) {
            const char *t = archive_entry_symlink_utf8(e);
            if (!t)
                t = archive_entry_symlink(e);
            if (!t)
                return UnsafeEntry;
            out.symlink = t;
        }
        out.perm = archive_entry_perm(e);
        if (archive_entry_mtime_is_set(e))
            out.mtime = archive_entry_mtime(e);
        out.crc32 = ov.crc32;
        return Ok;
    }
    int read(const void *&buf, size_t &size, int64_t &offset) override
    {
        la_int64_t off = 0;
        const int r = archive_read_data_block(a_, &buf, &size, &off);
        offset = off;
        return dataResult(r);
    }

private:
    struct archive *a_;
    const OverrideFn &override_;
    size_t index_ = 0;
};

} // namespace

int extractFrom(EntrySource &source, const ExtractRequest &req, const std::function<bool()> &wholeCheck)
{
    removeStale(req.dest);
    Staging staging(req.dest);
    if (!staging.ok())
        return WriteFailed;
    Stage stage(staging.path());
    int r = extractEntries(source, stage, req);
    if (r == Ok && wholeCheck && !wholeCheck())
        r = Damaged;
    if (r != Ok)
        return r;
    return moveInto(staging.path(), req.dest) ? Ok : WriteFailed;
}

int extractArchive(Format fmt, const ExtractRequest &req, const OverrideFn &override)
{
    // LZH names are CP932 by custom; an archive whose names CP932 cannot
    // read is read again as UTF-8.
    int r = CannotRead;
    for (const char *charset : {"CP932", "UTF-8"}) {
        auto reader = openReader(fmt, req.archive, charset, &r);
        if (!reader)
            return r;
        LibarchiveSource source(reader->get(), override);
        r = extractFrom(source, req, [&reader] { return reader->finish(); });
        if (fmt != Format::Lzh || r != Damaged)
            break;
    }
    return r;
}

} // namespace arc
