#include "cuesheet.h"

#include "playlistfile.h"

#include "platform/core/userfileqt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

#include <dirent.h>

#include <atomic>
#include <optional>
#include <tuple>

namespace vx::cd {

Refusal refuse(int error, const QString &text) { return {error, text}; }

Stamp stampOf(const struct stat &st)
{
    return {st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

namespace {

// A CUE sheet is a page of text; more is not one.
constexpr qint64 kMaxCueBytes = 1024 * 1024;
// What a disc holds, and what the player's track count can show.
constexpr int kMaxTracks = 99;

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

// A folder is looked through for a name written in other letter case up to
// so many entries and so long: a larger one is not looked through.
std::atomic<int> folderLookLimit{50000};
constexpr qint64 kMaxFolderLookMs = 500;

// The one entry beside `path` whose name is its name but for letter case
// (a sheet written on another system); none when there are several, or when
// the folder is too large to look through.
QString caselessMatch(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    DIR *dir = ::opendir(QFile::encodeName(info.absolutePath()).constData());
    if (!dir)
        return {};
    QElapsedTimer clock;
    clock.start();
    QString found;
    int matches = 0;
    int seen = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (++seen > folderLookLimit || (seen % 256 == 0 && clock.elapsed() > kMaxFolderLookMs)) {
            matches = 0;
            break;
        }
        if (entry->d_type == DT_DIR)
            continue;
        const QString candidate = QFile::decodeName(entry->d_name);
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) {
            found = candidate;
            ++matches;
        }
    }
    ::closedir(dir);
    return matches == 1 ? info.absoluteDir().filePath(found) : QString();
}

bool isThere(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The file a FILE line names, relative to the sheet's folder. A name that
// is not there as written is also looked for with its backslashes read as
// folder separators, a name with another system's drive beside the sheet,
// and then in other letter case.
QString dataPath(const QString &name, const QDir &folder)
{
    const QString plain = folder.absoluteFilePath(name);
    if (isThere(plain))
        return plain;
    QString path = plain;
    if (name.contains(QLatin1Char('\\'))) {
        QString slashed = name;
        slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
        static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:/"));
        if (drive.match(slashed).hasMatch())
            slashed = slashed.mid(slashed.lastIndexOf(QLatin1Char('/')) + 1);
        path = folder.absoluteFilePath(slashed);
        if (isThere(path))
            return path;
    }
    const QString other = caselessMatch(path);
    return other.isEmpty() ? path : other;
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

} // namespace

int setFolderLookLimit(int entries) { return folderLookLimit.exchange(entries); }

Refusal readSheetText(const QString &path, QByteArray &bytes)
{
    if (readUserFile(path, kMaxCueBytes, bytes) != UserFileStatus::Ok)
        return refuse(mci::BadCueSheet,
                      QStringLiteral("「%1」はCUEシートとして読めません。").arg(QFileInfo(path).fileName()));
    return {};
}

Refusal readSheet(const QString &path, const QByteArray &bytes, std::vector<DataFile> &files,
                  std::vector<SheetTrack> &tracks)
{
    const QString sheetName = QFileInfo(path).fileName();
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
            // A NUL would end the name where the system reads it.
            if (name.isEmpty() || name.contains(QChar(0)))
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
            tracks.push_back(t);
            continue;
        }
        // INDEX, PREGAP and POSTGAP belong to the last TRACK, in the file last
        // named: a gap may end one file and the track start the next.
        const auto time = msfTime(words.value(keyword == QLatin1String("INDEX") ? 2 : 1));
        if (tracks.empty() || !time || words.size() != (keyword == QLatin1String("INDEX") ? 3 : 2))
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
                t.index0 = {files.size() - 1, *time};
            else if (index == 1)
                t.index1 = {files.size() - 1, *time};
        }
    }
    if (tracks.empty())
        return refuse(mci::BadCueSheet, QStringLiteral("CUEシート「%1」にトラックがありません。").arg(sheetName));
    for (size_t i = 0; i < tracks.size(); ++i) {
        const SheetTrack &t = tracks[i];
        if (t.index1.sector < 0)
            return refuse(mci::BadCueSheet,
                          QStringLiteral("CUEシート「%1」のトラック%2にINDEX 01がありません。").arg(sheetName).arg(t.number));
        if ((t.index0.sector >= 0 && t.index0 > t.index1) || (i > 0 && t.index1 < tracks[i - 1].index1))
            return refuse(mci::BadCueSheet, QStringLiteral("CUEシート「%1」のトラック%2の始まりが前の位置より前にあります。")
                                                .arg(sheetName)
                                                .arg(t.number));
    }
    return {};
}

} // namespace vx::cd
