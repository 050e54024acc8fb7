#include "cdfake.h"

#include "mci.h"

#include <QStringList>
#include <QThread>

#include <cstring>

namespace vx::cd {

void FakeCdMedium::insert(const std::vector<std::pair<qint32, bool>> &tracks)
{
    disc = {};
    qint32 at = 0;
    for (const auto &[length, audio] : tracks) {
        disc.tracks.push_back({at, at + length, audio});
        at += length;
    }
}

void FakeCdMedium::insertAudio(int count, int seconds)
{
    insert(std::vector<std::pair<qint32, bool>>(size_t(count), {seconds * kSectorsPerSecond, true}));
}

void FakeCdMedium::wait() const
{
    if (const int ms = delayMs)
        QThread::msleep(ulong(ms));
}

int FakeCdMedium::readToc(Toc &toc)
{
    wait();
    toc = trayIsOpen ? Toc{} : disc;
    return mci::NoError;
}

int FakeCdMedium::readAudio(qint32 lsn, int count, char *buffer)
{
    ++attempts;
    if (!disc.present() || trayIsOpen)
        return mci::NoDisc;
    for (qint32 s = lsn; s < lsn + count; ++s)
        if (badSectors.count(s) || s >= disc.tracks.back().end)
            return mci::DeviceFailed;
    std::memset(buffer, 0, size_t(count) * kSectorBytes);
    reads += count;
    return mci::NoError;
}

int FakeCdMedium::setDoor(bool open)
{
    wait();
    attemptsAtDoor = attempts;
    if (doorResult)
        return doorResult;
    trayIsOpen = open;
    return mci::NoError;
}

int FakeCdMedium::trayOpen(bool &open)
{
    wait();
    open = trayIsOpen;
    return mci::NoError;
}

int FakeCdSystem::open(const QString &path, std::shared_ptr<CdMedium> &out)
{
    opened << path;
    if (openResult)
        return openResult;
    out = medium;
    return mci::NoError;
}

} // namespace vx::cd
