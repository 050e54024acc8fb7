// ZIP and TAR through libarchive.
#include "extract.h"
#include "fsutil.h"
#include "result.h"
#include "write.h"

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
    const int fd = ::open(it.disk.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return CannotRead;
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
    ::close(fd);
    if (result == Ok && total != st.st_size)
        result = CannotRead; // the file changed while it was read
    return result;
}

// Entries of the old archive whose names no new item takes.
int copyOld(struct archive *w, Format fmt, const std::string &archive, const std::set<std::string> &taken)
{
    struct archive *r = openReader(fmt, archive);
    if (!r)
        return CannotRead;
    struct archive_entry *e = nullptr;
    int result = Ok;
    for (;;) {
        const int h = archive_read_next_header(r, &e);
        if (h == ARCHIVE_EOF)
            break;
        if (h != ARCHIVE_OK && h != ARCHIVE_WARN) {
            result = Damaged;
            break;
        }
        const char *u = archive_entry_pathname_utf8(e);
        std::string name = u ? u : toUtf8Name(archive_entry_pathname(e) ? archive_entry_pathname(e) : "");
        archive_entry_set_pathname_utf8(e, name.c_str());
        if (taken.count(trimSlash(name)))
            continue;
        if (archive_write_header(w, e) != ARCHIVE_OK) {
            result = WriteFailed;
            break;
        }
        const void *buf = nullptr;
        size_t size = 0;
        la_int64_t off = 0;
        int d;
        while ((d = archive_read_data_block(r, &buf, &size, &off)) == ARCHIVE_OK || d == ARCHIVE_WARN)
            if (archive_write_data(w, buf, size) != static_cast<la_ssize_t>(size)) {
                d = ARCHIVE_FATAL;
                break;
            }
        if (d != ARCHIVE_EOF) {
            result = Damaged;
            break;
        }
    }
    archive_read_free(r);
    return result;
}

int finish(struct archive *w, int result, const std::string &temp, const std::string &archive)
{
    if (archive_write_close(w) != ARCHIVE_OK && result == Ok)
        result = WriteFailed;
    archive_write_free(w);
    if (result != Ok) {
        ::unlink(temp.c_str());
        return result;
    }
    return commitTemp(temp, archive) ? Ok : WriteFailed;
}

} // namespace

int writeZip(const std::string &archive, const std::vector<Item> &items, int level, bool update)
{
    const std::string temp = tempBeside(archive);
    if (temp.empty())
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
        r = archive_write_open_filename(w, temp.c_str());
    int result = r == ARCHIVE_OK ? Ok : WriteFailed;
    std::set<std::string> taken;
    for (const Item &it : items)
        taken.insert(it.name);
    struct stat st {};
    if (result == Ok && update && ::stat(archive.c_str(), &st) == 0)
        result = copyOld(w, Format::Zip, archive, taken);
    for (const Item &it : items) {
        if (result != Ok)
            break;
        result = addItem(w, it);
    }
    return finish(w, result, temp, archive);
}

int writeTar(const std::string &archive, const std::vector<Item> &items, TarFilter filter, int level)
{
    const std::string temp = tempBeside(archive);
    if (temp.empty())
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
        r = archive_write_open_filename(w, temp.c_str());
    int result = r == ARCHIVE_OK ? Ok : WriteFailed;
    for (const Item &it : items) {
        if (result != Ok)
            break;
        result = addItem(w, it);
    }
    return finish(w, result, temp, archive);
}

} // namespace arc
