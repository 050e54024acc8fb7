#pragma once
// CUE/BIN images made by the tests: sound tracks of a quiet tone and data
// tracks of MODE1 sectors, back to back in one BIN file.
#include "cddrive.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace cdtest {

struct TrackPlan {
    int sectors;
    bool audio = true;
};

inline QByteArray audioSectors(int count)
{
    QByteArray b(count * vx::cd::kSectorBytes, '\0');
    auto *p = reinterpret_cast<uchar *>(b.data());
    const int frames = count * vx::cd::kSectorBytes / 4;
    for (int i = 0; i < frames; ++i) {
        const auto v = qint16(2000 * std::sin(2 * M_PI * 440 * i / 44100.0));
        qToLittleEndian(v, p + i * 4);
        qToLittleEndian(v, p + i * 4 + 2);
    }
    return b;
}

inline QByteArray dataSectors(int count)
{
    QByteArray b(count * vx::cd::kSectorBytes, '\0');
    for (int s = 0; s < count; ++s) {
        char *sec = b.data() + s * vx::cd::kSectorBytes;
        sec[0] = 0;
        for (int i = 1; i < 11; ++i)
            sec[i] = char(0xFF);
        sec[15] = 1; // mode 1
    }
    return b;
}

inline QString msfText(int sectors)
{
    return QStringLiteral("%1:%2:%3")
        .arg(sectors / 75 / 60, 2, 10, QLatin1Char('0'))
        .arg(sectors / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(sectors % 75, 2, 10, QLatin1Char('0'));
}

// Sectors whose every sample reads tag * 1000 + the sector's number, so that
// a sector read back tells where it came from; MOTOROLA files are big-endian.
inline QByteArray markedSectors(int tag, int count, bool bigEndian = false)
{
    QByteArray b(count * vx::cd::kSectorBytes, '\0');
    auto *p = reinterpret_cast<uchar *>(b.data());
    for (int i = 0; i < count * vx::cd::kSectorBytes / 2; ++i) {
        const auto v = qint16(tag * 1000 + i * 2 / vx::cd::kSectorBytes);
        if (bigEndian)
            qToBigEndian(v, p + i * 2);
        else
            qToLittleEndian(v, p + i * 2);
    }
    return b;
}

// What markedSectors wrote into each sector read back (0: silence; -1: a
// sector of mixed samples).
inline std::vector<int> sectorMarks(const QByteArray &sectors)
{
    std::vector<int> marks;
    for (qsizetype at = 0; at + vx::cd::kSectorBytes <= sectors.size(); at += vx::cd::kSectorBytes) {
        const char *s = sectors.constData() + at;
        const int first = qFromLittleEndian<qint16>(s);
        const int last = qFromLittleEndian<qint16>(s + vx::cd::kSectorBytes - 2);
        marks.push_back(first == last ? first : -1);
    }
    return marks;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Writes `cue` and its BIN beside it; `cutBytes` leaves the BIN short by that much.
inline bool writeImage(const QString &cue, const std::vector<TrackPlan> &tracks, qint64 cutBytes = 0)
{
    const QString bin = cue.left(cue.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".bin");
    QByteArray data;
    QString sheet = QStringLiteral("FILE \"%1\" BINARY\n").arg(bin.mid(bin.lastIndexOf(QLatin1Char('/')) + 1));
    int at = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const TrackPlan &t = tracks[i];
        sheet += QStringLiteral("  TRACK %1 %2\n    INDEX 01 %3\n")
                     .arg(int(i + 1), 2, 10, QLatin1Char('0'))
                     .arg(t.audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"))
                     .arg(msfText(at));
        data += t.audio ? audioSectors(t.sectors) : dataSectors(t.sectors);
        at += t.sectors;
    }
    data.chop(cutBytes);
    QFile b(bin);
    QFile c(cue);
    return b.open(QIODevice::WriteOnly) && b.write(data) == data.size() && c.open(QIODevice::WriteOnly)
           && c.write(sheet.toUtf8()) > 0;
}

} // namespace cdtest
