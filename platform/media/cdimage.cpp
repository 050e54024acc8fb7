// A CUE sheet with the data files it names standing in for a drive with a
// disc in it.
#include "cddrive.h"

#include "cuesheet.h"
#include "mci.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace vx::cd {

namespace {

// Far more than any disc; keeps times in milliseconds within 32 bits.
constexpr qint32 kMaxDiscSectors = 100 * 3600 * kSectorsPerSecond;

Stamp stampAt(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return stampOf(st);
}

// A stretch of the disc: sectors of a data file, or silence.
struct Piece {
    qint32 start = 0;
    qint32 count = 0;
    std::optional<size_t> file;
    qint64 offset = 0; // of its first sector in the file
    int sectorBytes = kSectorBytes;
    bool bigEndian = false;
};

// The disc the sheet makes: its files one after the other, the gaps as
// silence. A track is only as long as the data there is: one that starts at
// or past the end of its file's data is left out, as is one that two tracks
// starting at the same place leave empty; its sound stays with the track
// before it.
void layOut(const std::vector<DataFile> &files, const std::vector<SheetTrack> &tracks, Toc &toc,
            std::vector<Piece> &pieces)
{
    qint32 at = 0; // disc sector
    std::vector<Track> kept;
    const auto add = [&](Piece p) {
        p.count = std::min(p.count, kMaxDiscSectors - at);
        if (p.count <= 0)
            return;
        p.start = at;
        at += p.count;
        pieces.push_back(p);
    };
    for (size_t f = 0; f < files.size(); ++f) {
        const qint64 size = files[f].data.size();
        std::vector<const SheetTrack *> own;
        for (const SheetTrack &t : tracks)
            if (t.file == f)
                own.push_back(&t);
        qint64 offset = 0; // bytes of the file laid out so far
        qint32 from = 0;   // file sector where the next stretch starts
        for (size_t i = 0; i < own.size(); ++i) {
            const SheetTrack &t = *own[i];
            // The stretch of the file that is this track's: from its first
            // index (or the file's start) to the next track's first index.
            qint32 to = std::numeric_limits<qint32>::max();
            if (i + 1 < own.size()) {
                const SheetTrack &next = *own[i + 1];
                to = next.index0 >= t.index1 ? next.index0 : next.index1;
            }
            const qint64 there = std::max<qint64>(0, (size - offset) / t.sectorBytes);
            const qint64 room = qint64(kMaxDiscSectors) - at - t.pregap;
            const qint32 count = qint32(std::max<qint64>(0, std::min<qint64>({to - from, there, room})));
            const bool hasData = t.index1 - from < count;
            if (hasData)
                add({0, t.pregap, std::nullopt, 0, kSectorBytes, false});
            const qint32 stretch = at;
            add({0, count, f, offset, t.sectorBytes, files[f].bigEndian});
            if (hasData) {
                kept.push_back({stretch + (t.index1 - from), 0, t.audio});
                add({0, t.postgap, std::nullopt, 0, kSectorBytes, false});
            }
            if (count < to - from)
                break; // the file ends here
            offset += qint64(count) * t.sectorBytes;
            from = to;
        }
    }
    for (size_t i = 0; i < kept.size(); ++i)
        kept[i].end = i + 1 < kept.size() ? kept[i + 1].start : at;
    toc.tracks = std::move(kept);
}

// Sectors of a data file, as CD sound (16-bit samples, low byte first).
bool readSectors(const DataFile &file, const Piece &p, qint32 first, int count, char *out)
{
    // Raw sectors come in one read; sectors with subcode one at a time.
    const int per = p.sectorBytes == kSectorBytes ? count : 1;
    for (int done = 0; done < count; done += per) {
        char *to = out + qint64(done) * kSectorBytes;
        const qint64 bytes = qint64(per) * kSectorBytes;
        qint64 got = 0;
        const qint64 from = p.offset + qint64(first + done) * p.sectorBytes;
        while (got < bytes) {
            const ssize_t n = ::pread(file.data.fd(), to + got, size_t(bytes - got), off_t(from + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false; // the file was cut since it was read
            got += n;
        }
    }
    if (p.bigEndian)
        for (qint64 i = 0; i + 1 < qint64(count) * kSectorBytes; i += 2)
            std::swap(out[i], out[i + 1]);
    return true;
}

class CueImage : public CdMedium {
public:
    explicit CueImage(const QString &path) : path_(path) {}

    // The sheet is read again when it or a file it names changed: a new image
    // is a new disc. A sheet that makes no disc is read again at every look.
    int readToc(Toc &toc) override
    {
        toc = {};
        if (!QFileInfo(path_).isFile()) {
            drop();
            return mci::NoError;
        }
        if (!toc_.present() || changed()) {
            drop();
            sheetStamp_ = stampAt(path_);
            std::vector<SheetTrack> tracks;
            Refusal r = readSheet(path_, files_, tracks);
            if (!r.error) {
                layOut(files_, tracks, toc_, pieces_);
                if (!toc_.present())
                    r = refuse(mci::BadCueSheet,
                               QStringLiteral("CUEシート「%1」のトラックはどれも、ファイルのデータの終わりより後から始まっています。")
                                   .arg(QFileInfo(path_).fileName()));
            }
            if (r.error) {
                drop();
                toc.refused = r.error;
                toc.refusal = r.text;
                return mci::NoError;
            }
        }
        toc = toc_;
        return mci::NoError;
    }

    int readAudio(qint32 lsn, int count, char *buffer) override
    {
        while (count > 0) {
            const auto p = std::upper_bound(pieces_.begin(), pieces_.end(), lsn,
                                            [](qint32 s, const Piece &piece) { return s < piece.start; });
            if (p == pieces_.begin() || lsn < 0 || lsn >= std::prev(p)->start + std::prev(p)->count)
                return pieces_.empty() ? mci::NoDisc : mci::DeviceFailed;
            const Piece &piece = *std::prev(p);
            const int n = std::min(count, piece.start + piece.count - lsn);
            if (!piece.file)
                std::memset(buffer, 0, size_t(n) * kSectorBytes);
            else if (!readSectors(files_[*piece.file], piece, lsn - piece.start, n, buffer))
                return mci::DeviceFailed;
            lsn += n;
            count -= n;
            buffer += qint64(n) * kSectorBytes;
        }
        return mci::NoError;
    }

    // An image has no tray: the ioctls tell so.
    int setDoor(bool open) override { return moveDoor(path_, open); }

    int trayOpen(bool &open) override
    {
        open = false;
        return mci::NoError;
    }

private:
    bool changed() const
    {
        if (stampAt(path_) != sheetStamp_)
            return true;
        return std::any_of(files_.begin(), files_.end(), [](const DataFile &f) { return stampAt(f.path) != f.stamp; });
    }

    // The data files are closed with the disc.
    void drop()
    {
        files_.clear();
        pieces_.clear();
        toc_ = {};
    }

    QString path_;
    Stamp sheetStamp_;
    std::vector<DataFile> files_;
    std::vector<Piece> pieces_;
    Toc toc_;
};

} // namespace

int openCueImage(const QString &path, std::shared_ptr<CdMedium> &medium)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return mci::NoDrive;
    if (!info.isReadable())
        return mci::NoPermission;
    medium = std::make_shared<CueImage>(path);
    return mci::NoError;
}

} // namespace vx::cd
