// CAB through libgcab (libarchive reads CAB but does not write it).
#include "extract.h"
#include "fsutil.h"
#include "result.h"
#include "write.h"

#include "platform/core/userfile.h"

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
// Every entry is read to its end, so that damage is found, not copied on.
int addOld(GCabFolder *folder, const std::string &archive, const std::set<std::string> &taken)
{
    int result = CannotRead;
    auto reader = openReader(Format::Cab, archive, "CP932", &result);
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
        std::string rel;
        const bool keep = archive_entry_filetype(e) != AE_IFDIR && safeRelative(name, rel) && !taken.count(rel);
        std::string data;
        const void *buf = nullptr;
        size_t size = 0;
        la_int64_t off = 0;
        int d;
        while ((d = dataResult(archive_read_data_block(r, &buf, &size, &off))) == Ok) {
            if (!keep)
                continue;
            if (static_cast<size_t>(off) > data.size())
                data.resize(static_cast<size_t>(off), '\0');
            data.append(static_cast<const char *>(buf), size);
        }
        if (d != kEndOfArchive)
            return Damaged;
        if (!keep)
            continue;
        GBytes *bytes = g_bytes_new(data.data(), data.size());
        GCabFile *file = gcab_file_new_with_bytes(cabName(rel).c_str(), bytes);
        g_bytes_unref(bytes);
        const gboolean ok = gcab_folder_add_file(folder, file, FALSE, nullptr, nullptr);
        g_object_unref(file);
        if (!ok)
            return WriteFailed;
    }
    return Ok;
}

} // namespace

int writeCab(const std::string &archive, const std::vector<Item> &items, bool update)
{
    std::string target;
    bool exists = false;
    if (const int p = prepareTarget(archive, target, exists); p != Ok)
        return p;
    // A cabinet's sizes are 32 bits; its files are read by libgcab, so each
    // one is looked at here first (regular, within the bound).
    for (const Item &it : items) {
        if (it.dir)
            continue;
        vx::userfile::Handle file = vx::userfile::open(it.disk, 0x7FFFFFFFll);
        if (file.status() == vx::userfile::Status::TooLarge)
            return Unsupported;
        if (!file.ok())
            return CannotRead;
    }
    TempFile temp(target);
    if (!temp.ok())
        return WriteFailed;
    GCabCabinet *cab = gcab_cabinet_new();
    GCabFolder *folder = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    int result = Ok;
    std::set<std::string> taken;
    for (const Item &it : items)
        if (!it.dir)
            taken.insert(it.name);
    if (update && exists)
        result = addOld(folder, target, taken);
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
        // The locked temporary file itself, opened for reading and writing
        // (libgcab seeks back to write the headers).
        GFile *out = g_file_new_for_path(temp.path().c_str());
        GError *err = nullptr;
        GFileIOStream *io = g_file_open_readwrite(out, nullptr, &err);
        if (!io) {
            result = WriteFailed;
        } else {
            GOutputStream *os = g_io_stream_get_output_stream(G_IO_STREAM(io));
            if (!gcab_cabinet_write_simple(cab, os, nullptr, nullptr, nullptr, &err))
                result = WriteFailed;
            if (!g_io_stream_close(G_IO_STREAM(io), nullptr, result == Ok ? &err : nullptr))
                result = WriteFailed;
            g_object_unref(io);
        }
        if (err)
            g_error_free(err);
        g_object_unref(out);
    }
    g_object_unref(folder);
    g_object_unref(cab);
    if (result != Ok)
        return result;
    return temp.commit(target) ? Ok : WriteFailed;
}

} // namespace arc
