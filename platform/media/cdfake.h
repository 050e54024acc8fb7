#pragma once
// A drive for tests that answers as libcdio and the CD-ROM ioctls would: a
// table of contents set by the test, silent sound, sectors that fail, a tray,
// and a delay to play a drive that hangs. The test keeps the medium and
// changes it between commands (the device reads it afresh each time).
#include "cddrive.h"

#include <atomic>
#include <set>

namespace vx::cd {

class FakeCdMedium : public CdMedium {
public:
    // Track lengths in sectors; data tracks marked. Starts at sector 0.
    void insert(const std::vector<std::pair<qint32, bool>> &tracks);
    // `count` sound tracks of `seconds` each.
    void insertAudio(int count, int seconds);
    void eject() { disc = {}; }

    Toc disc;
    bool trayIsOpen = false;
    int doorResult = 0;         // error of a door command (0: the tray moves)
    std::set<qint32> badSectors;
    std::atomic<int> delayMs{0}; // each call waits this long first
    std::atomic<int> reads{0};   // sectors read so far
    std::atomic<int> attempts{0}; // reads asked for, failed or not
    int attemptsAtDoor = -1;      // at the last door command

    int readToc(Toc &toc) override;
    int readAudio(qint32 lsn, int count, char *buffer) override;
    int setDoor(bool open) override;
    int trayOpen(bool &open) override;

private:
    void wait() const;
};

class FakeCdSystem : public CdDriveSystem {
public:
    std::shared_ptr<FakeCdMedium> medium = std::make_shared<FakeCdMedium>();
    int openResult = 0;
    QStringList opened; // paths asked for
    int open(const QString &path, std::shared_ptr<CdMedium> &out) override;
};

} // namespace vx::cd
