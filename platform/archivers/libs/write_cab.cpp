// CAB through libgcab (libarchive reads CAB but does not write it).
#include "extract.h"
#include "fsutil.h"
#include "result.h"
#include "write.h"

#include <archive.h>
#include <archive_entry.h>
#include <libgcab.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

namespace arc {

namespace {

std::string cabName(std::string name)
{
    for (char &c : name)
        if (c == '/')
            c = '\\';
    return name;
}

// Old entries, kept in memory: a cabinet has no way to copy compressed data.
int addOld(GCabFolder *folder, const std::string &archive, const std::set<std::string> &taken)
{
    struct archive *r = openReader(Format::Cab, archive);
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
        std::string rel;
        if (archive_entry_filetype(e) == AE_IFDIR || !safeRelative(name, rel) || taken.count(rel))
            continue;
        std::string data;
        const void *buf = nullptr;
        size_t size = 0;
        la_int64_t off = 0;
        int d;
        while ((d = archive_read_data_block(r, &buf, &size, &off)) == ARCHIVE_OK || d == ARCHIVE_WARN) {
            if (static_cast<size_t>(off) > data.size())
                data.resize(static_cast<size_t>(off), '\0');
            data.append(static_cast<const char *>(buf), size);
        }
        if (d != ARCHIVE_EOF) {
            result = Damaged;
            break;
        }
        GBytes *bytes = g_bytes_new(data.data(), data.size());
        GCabFile *file = gcab_file_new_with_bytes(cabName(rel).c_str(), bytes);
        g_bytes_unref(bytes);
        const gboolean ok = gcab_folder_add_file(folder, file, FALSE, nullptr, nullptr);
        g_object_unref(file);
        if (!ok) {
            result = WriteFailed;
            break;
        }
    }
    archive_read_free(r);
    return result;
}

} // namespace

int writeCab(const std::string &archive, const std::vector<Item> &items, bool update)
{
    const std::string temp = tempBeside(archive);
    if (temp.empty())
        return WriteFailed;
    GCabCabinet *cab = gcab_cabinet_new();
    GCabFolder *folder = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    int result = Ok;
    std::set<std::string> taken;
    for (const Item &it : items)
        if (!it.dir)
            taken.insert(it.name);
    struct stat st {};
    if (update && ::stat(archive.c_str(), &st) == 0)
        result = addOld(folder, archive, taken);
    for (const Item &it : items) {
        if (result != Ok)
            break;
        if (it.dir)
            continue; // a cabinet holds files only
        GFile *gf = g_file_new_for_path(it.disk.c_str());
        GCabFile *file = gcab_file_new_with_file(cabName(it.name).c_str(), gf);
        g_object_unref(gf);
        if (!gcab_folder_add_file(folder, file, FALSE, nullptr, nullptr))
            result = WriteFailed;
        g_object_unref(file);
    }
    if (result == Ok && !gcab_cabinet_add_folder(cab, folder, nullptr))
        result = WriteFailed;
    if (result == Ok) {
        GFile *out = g_file_new_for_path(temp.c_str());
        GError *err = nullptr;
        GFileOutputStream *os = g_file_replace(out, nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, &err);
        if (!os) {
            result = WriteFailed;
        } else {
            if (!gcab_cabinet_write_simple(cab, G_OUTPUT_STREAM(os), nullptr, nullptr, nullptr, &err))
                result = WriteFailed;
            if (!g_output_stream_close(G_OUTPUT_STREAM(os), nullptr, result == Ok ? &err : nullptr))
                result = WriteFailed;
            g_object_unref(os);
        }
        if (err)
            g_error_free(err);
        g_object_unref(out);
    }
    g_object_unref(folder);
    g_object_unref(cab);
    if (result != Ok) {
        ::unlink(temp.c_str());
        return result;
    }
    return commitTemp(temp, archive) ? Ok : WriteFailed;
}

} // namespace arc
