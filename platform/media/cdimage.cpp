// A CUE sheet with the data files it names standing in for a drive with a
// disc in it. The sheet is read here, not by libcdio: its reader takes the BIN
// from the sheet's own name, not from the FILE line, and reads no byte order
// mark and no keyword in small letters.
#include "cddrive.h"

#include "mci.h"
#include "playlistfile.h"

#include "platform/core/userfileqt.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <limits>
#include <tuple>
#include <optional>

namespace vx::cd {

namespace {

// A CUE sheet is a page of text; more is not one.
constexpr qint64 kMaxCueBytes = 1024 * 1024;
// What a disc holds, and what the player's track count can show.
constexpr int kMaxTracks = 99;
// Far more than any disc; keeps times in milliseconds within 32 bits.
constexpr qint32 kMaxDiscSectors = 100 * 3600 * kSectorsPerSecond;

// What is wrong with a sheet: an error number and the text that says why.
struct Refusal {
    int error = mci::NoError;
    QString text;
};

Refusal refuse(int error, const QString &text) { return {error, text}; }

// Identity of a file as last seen: a changed sheet or data file is a new disc.
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    qint64 mtime = 0;
    bool operator==(const Stamp &) const = default;
};

Stamp stampOf(const struct stat &st)
{
    return {st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

Stamp stampAt(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return stampOf(st);
}

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

// A stretch of the disc: sectors of a data file, or silence.
struct Piece {
    qint32 start = 0;
    qint32 count = 0;
    std::optional<size_t> file;
    qint64 offset = 0; // of its first sector in the file
    int sectorBytes = kSectorBytes;
    bool bigEndian = false;
};

// The sector size of a TRACK line's type, and whether it is sound.
std::optional<std::pair<bool, int>> trackType(const QString &type)
{
    if (type.compare(QLatin1String("AUDIO"), Qt::CaseInsensitive) == 0)
        return std::pair{true, kSectorBytes};
    // Sound with 96 bytes of subcode after each sector.
    if (type.compare(QLatin1String("CDG"), Qt::CaseInsensitive) == 0)
        return std::pair{true, kSectorBytes + 96};
    static const QRegularExpression data(QStringLiteral("^(?:MODE[12]|CDI)/(2048|2324|2336|2352)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = data.match(type);
    if (!m.hasMatch())
        return std::nullopt;
    return std::pair{false, m.captured(1).toInt()};
}

// "mm:ss:ff" in sectors.
std::optional<qint32> msfTime(const QString &text)
{
    static const QRegularExpression msf(QStringLiteral("^(\\d{1,3}):(\\d{1,2}):(\\d{1,2})$"));
    const auto m = msf.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int s = m.captured(2).toInt();
    const int f = m.captured(3).toInt();
    if (s >= 60 || f >= kSectorsPerSecond)
        return std::nullopt;
    return qint32((m.captured(1).toInt() * 60 + s) * kSectorsPerSecond + f);
}

// Words of a line; a quoted word keeps its spaces.
QStringList wordsOf(const QString &line)
{
    static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"?|(\\S+)"));
    QStringList words;
    auto it = word.globalMatch(line);
    while (it.hasNext()) {
        const auto m = it.next();
        words << (m.capturedStart(1) >= 0 ? m.captured(1) : m.captured(2));
    }
    return words;
}

// The file a FILE line names, relative to the sheet's folder. A name that
// is not there as written is also looked for with its backslashes read as
// folder separators, and a name with another system's drive beside the sheet.
QString dataPath(const QString &name, const QDir &folder)
{
    const QString plain = folder.absoluteFilePath(name);
    if (!name.contains(QLatin1Char('\\')) || QFileInfo::exists(plain))
        return plain;
    QString slashed = name;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:/"));
    if (drive.match(slashed).hasMatch())
        return folder.absoluteFilePath(slashed.mid(slashed.lastIndexOf(QLatin1Char('/')) + 1));
    return folder.absoluteFilePath(slashed);
}

Refusal openData(DataFile &file)
{
    file.data = userfile::open(QFile::encodeName(file.path).constData(), userfile::kNoLimit);
    switch (file.data.status()) {
    case UserFileStatus::Ok:
        file.stamp = stampOf(file.data.info());
        return {};
    case UserFileStatus::Missing:
        return refuse(mci::CueDataMissing,
                      QStringLiteral("CUEシートが指すファイル「%1」が見つかりません。").arg(file.name));
    case UserFileStatus::NotRegular:
        return refuse(mci::CueDataUnreadable,
                      QStringLiteral("CUEシートが指す「%1」はふつうのファイルではないため、読めません。").arg(file.name));
    default:
        return refuse(mci::CueDataUnreadable, QStringLiteral("CUEシートが指すファイル「%1」を読めません。").arg(file.name));
    }
}

// The sheet's FILE and TRACK lines; the data files are opened.
Refusal readSheet(const QString &path, std::vector<DataFile> &files, std::vector<SheetTrack> &tracks)
{
    const QString sheetName = QFileInfo(path).fileName();
    QByteArray bytes;
    if (readUserFile(path, kMaxCueBytes, bytes) != UserFileStatus::Ok)
        return refuse(mci::BadCueSheet, QStringLiteral("「%1」はCUEシートとして読めません。").arg(sheetName));
    // By a byte order mark, else UTF-8, else the Japanese code page.
    const QString text = media::decodeText(bytes);
    const QDir folder = QFileInfo(path).absoluteDir();
    const auto badLine = [&](int line) {
        return refuse(mci::BadCueSheet, QStringLiteral("CUEシート「%1」の%2行目を読めません。").arg(sheetName).arg(line));
    };
    // A disc has at most 99 tracks, each in a file of its own at most.
    const auto tooMany = [&] {
        return refuse(mci::BadCueSheet,
                      QStringLiteral("CUEシート「%1」のトラックかファイルが%2を超えています。").arg(sheetName).arg(kMaxTracks));
    };
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    static const QRegularExpression blank(QStringLiteral("\\s"));
    const QStringList lines = text.split(lineBreak);
    for (int n = 1; n <= lines.size(); ++n) {
        const QString line = lines[n - 1].trimmed();
        const QString keyword = wordsOf(line).value(0).toUpper();
        if (keyword == QLatin1String("FILE")) {
            // The type is the last word; an unquoted name may hold spaces.
            QString rest = line.mid(4).trimmed();
            QString type = QStringLiteral("BINARY");
            QString name;
            if (rest.startsWith(QLatin1Char('"'))) {
                const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
                if (close < 0)
                    return badLine(n);
                name = rest.mid(1, close - 1);
                if (const QString t = rest.mid(close + 1).trimmed(); !t.isEmpty())
                    type = t;
            } else if (const qsizetype space = rest.lastIndexOf(blank); space > 0) {
                name = rest.left(space).trimmed();
                type = rest.mid(space + 1);
            } else {
                name = rest;
            }
            if (name.isEmpty())
                return badLine(n);
            if (files.size() >= size_t(kMaxTracks))
                return tooMany();
            DataFile file;
            file.name = name;
            file.path = dataPath(name, folder);
            if (type.compare(QLatin1String("MOTOROLA"), Qt::CaseInsensitive) == 0)
                file.bigEndian = true;
            else if (type.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) != 0)
                return refuse(mci::CueDataFormat,
                              QStringLiteral("CUEシートが指すファイル「%1」の形式(%2)は再生できません。"
                                             "CDの音をそのまま収めたBINファイル(BINARY)だけを再生できます。")
                                  .arg(name, type));
            if (Refusal r = openData(file); r.error)
                return r;
            files.push_back(std::move(file));
            continue;
        }
        if (keyword != QLatin1String("TRACK") && keyword != QLatin1String("INDEX")
            && keyword != QLatin1String("PREGAP") && keyword != QLatin1String("POSTGAP"))
            continue; // REM, TITLE, PERFORMER, FLAGS, ISRC and the like
        const QStringList words = wordsOf(line);
        if (keyword == QLatin1String("TRACK")) {
            bool ok = false;
            SheetTrack t;
            t.number = words.value(1).toInt(&ok);
            const auto type = trackType(words.value(2));
            if (files.empty() || words.size() != 3 || !ok || !type)
                return badLine(n);
            if (tracks.size() >= size_t(kMaxTracks))
                return tooMany();
            std::tie(t.audio, t.sectorBytes) = *type;
            t.file = files.size() - 1;
            tracks.push_back(t);
            continue;
        }
        // INDEX, PREGAP and POSTGAP belong to the last TRACK, in its file.
        const auto time = msfTime(words.value(keyword == QLatin1String("INDEX") ? 2 : 1));
        if (tracks.empty() || tracks.back().file + 1 != files.size() || !time
            || words.size() != (keyword == QLatin1String("INDEX") ? 3 : 2))
            return badLine(n);
        SheetTrack &t = tracks.back();
        if (keyword == QLatin1String("PREGAP")) {
            t.pregap = *time;
        } else if (keyword == QLatin1String("POSTGAP")) {
            t.postgap = *time;
        } else {
            bool ok = false;
            const int index = words[1].toInt(&ok);
            if (!ok || index < 0 || index > 99)
                return badLine(n);
            if (index == 0)
                t.index0 = *time;
            else if (index == 1)
                t.index1 = *time;
        }
    }
    if (tracks.empty())
        return refuse(mci::BadCueSheet, QStringLiteral("CUEシート「%1」にトラックがありません。").arg(sheetName));
    for (size_t i = 0; i < tracks.size(); ++i) {
        const SheetTrack &t = tracks[i];
        if (t.index1 < 0)
            return refuse(mci::BadCueSheet,
                          QStringLiteral("CUEシート「%1」のトラック%2にINDEX 01がありません。").arg(sheetName).arg(t.number));
        const bool after = i > 0 && tracks[i - 1].file == t.file;
        if ((t.index0 > t.index1) || (after && t.index1 < tracks[i - 1].index1))
            return refuse(mci::BadCueSheet, QStringLiteral("CUEシート「%1」のトラック%2の始まりが前の位置より前にあります。")
                                                .arg(sheetName)
                                                .arg(t.number));
    }
    return {};
}

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
