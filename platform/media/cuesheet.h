#pragma once
// Reading a CUE sheet: its FILE, TRACK, INDEX and gap lines, the data files it
// names opened, or the reason it makes no disc. The sheet is read here, not
// by libcdio: its reader takes the BIN from the sheet's own name, not from the
// FILE line, and reads no byte order mark and no keyword in small letters.
#include "cddrive.h"
#include "mci.h"

#include "platform/core/userfile.h"

#include <QString>

#include <sys/stat.h>

#include <vector>

namespace vx::cd {

// What is wrong with a sheet: an error number and the text that says why.
struct Refusal {
    int error = mci::NoError;
    QString text;
};

Refusal refuse(int error, const QString &text);

// Identity of a file as last seen: a changed sheet or data file is a new disc.
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    qint64 mtime = 0;
    bool operator==(const Stamp &) const = default;
};

Stamp stampOf(const struct stat &st);

struct DataFile {
    QString name; // as the sheet writes it
    QString path;
    bool bigEndian = false; // MOTOROLA: samples high byte first
    userfile::Handle data;
    Stamp stamp;
};

struct SheetTrack {
    int number = 0; // as the sheet numbers it
    bool audio = true;
    int sectorBytes = kSectorBytes;
    size_t file = 0;
    // Sectors from the start of the file; -1 when not given.
    qint32 index0 = -1;
    qint32 index1 = -1;
    qint32 pregap = 0; // silence before the track, not in the file
    qint32 postgap = 0;
};

// The sheet's FILE and TRACK lines; the data files are opened.
Refusal readSheet(const QString &path, std::vector<DataFile> &files, std::vector<SheetTrack> &tracks);

} // namespace vx::cd
