// ZIP and TAR through libarchive.
#include "extract.h"
#include "fsutil.h"
#include "result.h"
#include "write.h"

#include "platform/core/userfile.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

namespace arc {

namespace {

int addItem(struct archive *w, const Item &it)
{
    struct stat st {};
    if (::stat(it.disk.c_str(), &st) != 0)
        return NothingToDo;
    struct archive_entry *e = archive_entry_new();
    archive_entry_set_pathname_utf8(e, it.dir ? (it.name + "/").c_str() : it.name.c_str());
    archive_entry_set_mtime(e, st.st_mtime, 0);
    archive_entry_set_perm(e, st.st_mode & 0777);
    archive_entry_set_filetype(e, it.dir ? AE_IFDIR : AE_IFREG);
    archive_entry_set_size(e, it.dir ? 0 : st.st_size);
    int r = archive_write_header(w, e);
    archive_entry_free(e);
    if (r != ARCHIVE_OK)
        return WriteFailed;
    if (it.dir)
        return Ok;
    vx::userfile::Handle file = vx::userfile::open(it.disk, vx::userfile::kNoLimit);
    if (!file.ok())
        return CannotRead;
    const int fd = file.fd();
    static thread_local char buf[1 << 16];
    la_int64_t total = 0;
    int result = Ok;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            result = CannotRead;
            break;
        }
        if (n == 0)
            break;
        if (archive_write_data(w, buf, static_cast<size_t>(n)) != n) {
            result = WriteFailed;
            break;
        }
        total += n;
    }
    if (result == Ok && total != st.st_size)
        result = CannotRead; // the file changed while it was read
    return result;
}

// Entries of the old archive whose names no new item takes. Every entry is
// read to its end, so that its own check (CRC) runs: damage is the failure,
// never copied on under a fresh checksum.
int copyOld(struct archive *w, Format fmt, const std::string &archive, const std::set<std::string> &taken)
{
    int result = CannotRead;
    auto reader = openReader(fmt, archive, "CP932", &result);
    if (!reader)
        return result;
    struct archive *r = reader->get();
    struct archive_entry *e = nullptr;
    for (;;) {
        const int h = archive_read_next_header(r, &e);
        if (h == ARCHIVE_EOF)
            break;
        if (headerResult(r, h) != Ok)
            return Damaged;
        const char *u = archive_entry_pathname_utf8(e);
        std::string name = u ? u : toUtf8Name(archive_entry_pathname(e) ? archive_entry_pathname(e) : "");
        archive_entry_set_pathname_utf8(e, name.c_str());
        const bool keep = !taken.count(trimSlash(name));
        if (keep && archive_write_header(w, e) != ARCHIVE_OK)
            return WriteFailed;
        const void *buf = nullptr;
        size_t size = 0;
        la_int64_t off = 0;
        int d;
        while ((d = dataResult(archive_read_data_block(r, &buf, &size, &off))) == Ok)
            if (keep && archive_write_data(w, buf, size) != static_cast<la_ssize_t>(size))
                return WriteFailed;
        if (d != kEndOfArchive)
            return Damaged;
    }
    return reader->finish() ? Ok : Damaged;
}

int finish(struct archive *w, int result, TempFile &temp, const std::string &target)
{
    if (archive_write_close(w) != ARCHIVE_OK && result == Ok)
        result = WriteFailed;
    archive_write_free(w);
    if (result != Ok)
        return result;
    return temp.commit(target) ? Ok : WriteFailed;
}

} // namespace

int writeZip(const std::string &archive, const std::vector<Item> &items, int level, bool update)
{
    std::string target;
    bool exists = false;
    if (const int p = prepareTarget(archive, target, exists); p != Ok)
        return p;
    TempFile temp(target);
    if (!temp.ok())
        return WriteFailed;
    struct archive *w = archive_write_new();
    int r = archive_write_set_format_zip(w);
    if (r == ARCHIVE_OK)
        r = archive_write_set_format_option(w, "zip", "hdrcharset", "UTF-8");
    if (r == ARCHIVE_OK && level == 0)
        r = archive_write_set_format_option(w, "zip", "compression", "store");
    if (r == ARCHIVE_OK && level > 0) {
        r = archive_write_set_format_option(w, "zip", "compression", "deflate");
        if (r == ARCHIVE_OK)
            r = archive_write_set_format_option(w, "zip", "compression-level", std::to_string(level).c_str());
    }
    if (r == ARCHIVE_OK)
        r = archive_write_open_fd(w, temp.fd());
    int result = r == ARCHIVE_OK ? Ok : WriteFailed;
    std::set<std::string> taken;
    for (const Item &it : items)
        taken.insert(it.name);
    if (result == Ok && update && exists)
        result = copyOld(w, Format::Zip, target, taken);
    for (const Item &it : items) {
        if (result != Ok)
            break;
        result = addItem(w, it);
    }
    return finish(w, result, temp, target);
}

int writeTar(const std::string &archive, const std::vector<Item> &items, TarFilter filter, int level)
{
    std::string target;
    bool exists = false;
    if (const int p = prepareTarget(archive, target, exists); p != Ok)
        return p;
    TempFile temp(target);
    if (!temp.ok())
        return WriteFailed;
    struct archive *w = archive_write_new();
    int r = archive_write_set_format_pax_restricted(w);
    if (r == ARCHIVE_OK && filter == TarFilter::Gzip) {
        r = archive_write_add_filter_gzip(w);
        if (r == ARCHIVE_OK)
            r = archive_write_set_filter_option(w, "gzip", "compression-level", std::to_string(level).c_str());
    } else if (r == ARCHIVE_OK && filter == TarFilter::Bzip2) {
        r = archive_write_add_filter_bzip2(w);
        if (r == ARCHIVE_OK) // bzip2 knows no level 0: the lightest it has
            r = archive_write_set_filter_option(w, "bzip2", "compression-level",
                                                std::to_string(level < 1 ? 1 : level).c_str());
    }
    if (r == ARCHIVE_OK)
        r = archive_write_open_fd(w, temp.fd());
    int result = r == ARCHIVE_OK ? Ok : WriteFailed;
    for (const Item &it : items) {
        if (result != Ok)
            break;
        result = addItem(w, it);
    }
    return finish(w, result, temp, target);
}

} // namespace arc
