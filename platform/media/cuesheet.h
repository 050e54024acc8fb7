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

// A place in the data: a sector of one of the files, counted from its start.
struct SheetPlace {
    size_t file = 0;
    qint32 sector = -1; // -1: not given
    auto operator<=>(const SheetPlace &) const = default;
};

struct SheetTrack {
    int number = 0; // as the sheet numbers it
    bool audio = true;
    int sectorBytes = kSectorBytes;
    // Its INDEX 00 may lie in the file before its INDEX 01 (gaps appended
    // to the previous track's file).
    SheetPlace index0;
    SheetPlace index1;
    qint32 pregap = 0; // silence before the track, not in the file
    qint32 postgap = 0;
};

// How many entries of a folder are looked through, at most, for a data file
// named in other letter case (tests lower it); returns the bound before.
int setFolderLookLimit(int entries);

// The text of the sheet at `path`.
Refusal readSheetText(const QString &path, QByteArray &bytes);
// The sheet (its text in `bytes`, read from `path`): its FILE and TRACK
// lines; the data files are opened.
Refusal readSheet(const QString &path, const QByteArray &bytes, std::vector<DataFile> &files,
                  std::vector<SheetTrack> &tracks);

} // namespace vx::cd
