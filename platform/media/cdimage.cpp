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
    bool audio = true; // sectors of a data track are no sound
};

// Where a track's stretch of the data begins: at its INDEX 00 when that is
// not before the INDEX 01 ahead of it, else at its INDEX 01; the first track
// whose stretch begins in a file also takes the data before it there.
SheetPlace leadOf(const std::vector<SheetTrack> &tracks, size_t i)
{
    const SheetTrack &t = tracks[i];
    SheetPlace lead = t.index1;
    if (t.index0.sector >= 0 && (i == 0 || t.index0 >= tracks[i - 1].index1))
        lead = t.index0;
    if (i == 0 || tracks[i - 1].index1.file < lead.file)
        lead.sector = 0;
    return lead;
}

// The disc the sheet makes: its files one after the other, the gaps as
// silence. A track's stretch runs from where it begins to where the next one
// does, across the end of a file (a gap appended to the file before its own).
// A track is only as long as the data there is: one whose INDEX 01 is not in
// the data is left out, as is one that two tracks starting at the same place
// leave empty; its sound stays with the track before it, its data goes with it.
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
    // Where the data is read next: a file, its sector and its byte.
    size_t file = tracks.empty() ? files.size() : leadOf(tracks, 0).file;
    qint32 sector = 0;
    qint64 offset = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const SheetTrack &t = tracks[i];
        const SheetPlace to = i + 1 < tracks.size() ? leadOf(tracks, i + 1) : SheetPlace{files.size(), 0};
        const qint64 room = qint64(kMaxDiscSectors) - at - t.pregap;
        std::vector<Piece> stretch; // starts counted from the track's stretch
        qint32 length = 0;
        std::optional<qint32> index1; // in the stretch
        for (; file < files.size(); ++file, sector = 0, offset = 0) {
            const bool last = file == to.file;
            const qint64 want = last ? qint64(to.sector) - sector : std::numeric_limits<qint32>::max();
            const qint64 there = std::max<qint64>(0, (files[file].data.size() - offset) / t.sectorBytes);
            const auto count = qint32(std::max<qint64>(0, std::min<qint64>({want, there, room - length})));
            if (count > 0) {
                if (t.index1.file == file && t.index1.sector >= sector && t.index1.sector - sector < count)
                    index1 = length + (t.index1.sector - sector);
                stretch.push_back({length, count, file, offset, t.sectorBytes, files[file].bigEndian, t.audio});
                length += count;
                sector += count;
                offset += qint64(count) * t.sectorBytes;
            }
            if (last)
                break; // the next track begins in this file
        }
        if (!index1 && !t.audio)
            continue;
        if (index1)
            add({0, t.pregap, std::nullopt, 0, kSectorBytes, false, true});
        const qint32 first = at;
        for (const Piece &p : stretch)
            add(p);
        if (index1) {
            kept.push_back({first + *index1, 0, t.audio});
            add({0, t.postgap, std::nullopt, 0, kSectorBytes, false, true});
        }
    }
    for (size_t i = 0; i < kept.size(); ++i)
        kept[i].end = i + 1 < kept.size() ? kept[i + 1].start : at;
    toc.tracks = std::move(kept);
}

// Sectors of a data file, as CD sound (16-bit samples, low byte first); each
// sector read at its own size, sound being its first 2352 bytes.
bool readSectors(const DataFile &file, const Piece &p, qint32 first, int count, char *out)
{
    // Raw sectors come in one read; others one at a time.
    const int per = p.sectorBytes == kSectorBytes ? count : 1;
    const int take = std::min(p.sectorBytes, kSectorBytes);
    for (int done = 0; done < count; done += per) {
        char *to = out + qint64(done) * kSectorBytes;
        const qint64 bytes = qint64(per) * take;
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
        std::memset(to + bytes, 0, size_t(qint64(per) * kSectorBytes - bytes));
    }
    if (p.bigEndian)
        for (qint64 i = 0; i + 1 < qint64(count) * kSectorBytes; i += 2)
            std::swap(out[i], out[i + 1]);
    return true;
}

class CueImage : public CdMedium {
public:
    explicit CueImage(const QString &path) : path_(path) {}

    // The sheet is read again when its text or a file it names changed: a new
    // image is a new disc. A sheet that makes no disc is read again at every look.
    int readToc(Toc &toc) override
    {
        toc = {};
        if (!QFileInfo(path_).isFile()) {
            drop();
            return mci::NoError;
        }
        QByteArray text;
        Refusal r = readSheetText(path_, text);
        if (r.error || !toc_.present() || changed(text)) {
            drop();
            std::vector<SheetTrack> tracks;
            if (!r.error)
                r = readSheet(path_, text, files_, tracks);
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
            sheet_ = text;
            toc_.disc = ++discs_;
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
            if (!piece.file || !piece.audio)
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
    bool changed(const QByteArray &text) const
    {
        if (text != sheet_)
            return true;
        return std::any_of(files_.begin(), files_.end(), [](const DataFile &f) { return stampAt(f.path) != f.stamp; });
    }

    // The data files are closed with the disc.
    void drop()
    {
        sheet_.clear();
        files_.clear();
        pieces_.clear();
        toc_ = {};
    }

    QString path_;
    QByteArray sheet_;
    quint64 discs_ = 0; // discs the sheet made so far
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
