#pragma once
// The archiver library table of the archive window and the steps every
// archive operation shares: the presence check, the archiver call and the
// result report.
#include <QString>

#include <cstdint>
#include <optional>

namespace archive {

enum class Lib { Unlha32, Unzip32, Zip32j, Cab32, Ungca32, Unarj32j, Unrar32, Unrar, Tar32, Yz1 };

struct LibraryRow {
    Lib id;
    QString file;       // file name on the loader's search path
    QString entry;      // command entry
    QString prefix;     // of the version, check and mode functions
    QString missing;    // message when missing ("" for none)
    bool hasCheck;      // exports <prefix>CheckArchive
};

const LibraryRow &library(Lib id);

// True when the library is there. Otherwise its message is shown (title
// "Error", stop icon) and false returned: only the operation stops.
bool PresenceCheck(Lib id);
// The RAR row: UNRAR32, then UNRAR.
bool PresenceCheckRar();

// The command entry's result; nothing when the library or its entry cannot be
// loaded. The call runs off the window thread; the window waits for it while
// it keeps painting.
std::optional<int32_t> ArchiverCall(Lib id, uint32_t owner, const QString &line);
// The archive check (mode 1); nothing when the library cannot be loaded.
std::optional<int32_t> ArchiveCheck(Lib id, const QString &file);
// The version times 100; nothing when the library cannot be loaded.
std::optional<int16_t> LibraryVersion(Lib id);

// True while a library call runs (the window stays loaded until it returns).
bool CallInProgress();

enum class Operation { Extract, Compress };
// Success (result 0) or failure box of the operation.
void ResultReport(Operation op, int32_t result);
void FailureReport(Operation op);

// A name that could add switches, targets or list lines: '"', CR or LF.
bool unsafeName(const QString &name);

} // namespace archive
