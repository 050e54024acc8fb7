// UNRAR: reads RAR archives for UNRAR32. Names and CRCs of RAR 1.5-4.x file
// headers come from our own reading of the headers; the data from libarchive.
#include "common_exports.h"
#include "rar_headers.h"

#include "platform/core/userfile.h"

ARC_EXPORT int32_t RarExtract(const char *archive, const char *dest, int32_t keepPaths)
{
    if (!archive || !dest)
        return arc::BadCommand;
    arc::Utf8Locale utf8;
    try {
        arc::ExtractRequest req;
        req.archive = archive;
        req.dest = dest;
        req.keepPaths = keepPaths != 0;
        if (!vx::userfile::open(archive, vx::userfile::kNoLimit).ok())
            return arc::CannotRead;
        const auto all = arc::readRarHeaders(archive);
        if (all) {
            if (const int r = arc::extractStoredRar(archive, *all, req); r != -1)
                return r;
        }
        // libarchive gives no entry for a header repeating the name before it.
        std::vector<arc::RarHeader> headers;
        if (all)
            for (const arc::RarHeader &h : *all)
                if (!h.repeat)
                    headers.push_back(h);
        arc::OverrideFn override;
        if (all)
            override = [&headers](size_t i) {
                arc::EntryOverride ov;
                if (i < headers.size()) {
                    ov.name = headers[i].name;
                    if (!headers[i].dir)
                        ov.crc32 = headers[i].crc;
                }
                return ov;
            };
        return arc::extractArchive(arc::Format::Rar, req, override);
    } catch (const std::bad_alloc &) {
        return arc::WriteFailed;
    } catch (...) {
        return arc::BadCommand;
    }
}

ARC_EXPORT int16_t RarGetVersion(void) { return arc::kVersion; }
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
