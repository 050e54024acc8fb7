#include "playlistfile.h"

#include "platform/core/userfileqt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QStringDecoder>
#include <QUrl>
#include <QtEndian>

#include <iconv.h>

namespace vx::media {

namespace {
QString fromCp932(const QByteArray &bytes);
} // namespace

QString decodeText(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromCp932(bytes) : text;
}

namespace {

// A playlist is a few lines of text; more than this is not one.
constexpr qint64 kMaxPlaylistBytes = 4 * 1024 * 1024;
// MIDI wrapped in RIFF is small; a larger file is not read into memory.
constexpr qint64 kMaxRmidBytes = 64 * 1024 * 1024;

QString fromCp932(const QByteArray &bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QByteArray out(bytes.size() * 3 + 4, Qt::Uninitialized);
    char *src = const_cast<char *>(bytes.constData());
    size_t srcLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    // A byte CP932 cannot read is skipped, the rest still counts.
    while (srcLeft > 0 && iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1)) {
        if (errno != EILSEQ && errno != EINVAL)
            break;
        ++src;
        --srcLeft;
    }
    iconv_close(cd);
    out.truncate(out.size() - qsizetype(dstLeft));
    return QString::fromUtf8(out);
}


QString decodeEntities(QString text)
{
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|amp|lt|gt|quot|apos);"));
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x")))
            code = char32_t(name.mid(2).toUInt(nullptr, 16));
        else if (name.startsWith(QLatin1Char('#')))
            code = char32_t(name.mid(1).toUInt());
        else
            code = name == QLatin1String("amp") ? U'&'
                 : name == QLatin1String("lt")  ? U'<'
                 : name == QLatin1String("gt")  ? U'>'
                 : name == QLatin1String("quot") ? U'"'
                                                 : U'\'';
        if (code > 0 && code <= 0x10FFFF)
            out += QString::fromUcs4(&code, 1);
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// A reference as a local path, or "" when it names nothing local.
QString localPath(QString ref, const QString &folder)
{
    ref = ref.trimmed();
    if (ref.isEmpty())
        return QString();
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (ref.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        ref = QUrl(ref).toLocalFile();
        if (ref.isEmpty())
            return QString();
    } else if (scheme.match(ref).hasMatch()) {
        return QString(); // an address or another system's drive
    }
    ref.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = QDir::isAbsolutePath(ref) ? ref : QDir(folder).filePath(ref);
    return QDir::cleanPath(path);
}

} // namespace

bool isPlaylistName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.endsWith(QLatin1String(".asx"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String("wax"), Qt::CaseInsensitive);
}

QStringList parsePlaylist(const QByteArray &bytes, const QString &folder)
{
    QString text = decodeText(bytes);
    static const QRegularExpression comment(QStringLiteral("<!--.*?(-->|$)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    text.remove(comment);
    // <ref href="..."> in any case, quoted either way or bare; <entryref> (a
    // nested playlist) does not match.
    static const QRegularExpression ref(QStringLiteral("<\\s*ref\\b([^>]*)>"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression href(QStringLiteral("\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList entries;
    auto it = ref.globalMatch(text);
    while (it.hasNext()) {
        const auto m = href.match(it.next().captured(1));
        if (!m.hasMatch())
            continue;
        QString value = m.captured(1);
        if (m.capturedStart(1) < 0)
            value = m.capturedStart(2) >= 0 ? m.captured(2) : m.captured(3);
        const QString path = localPath(decodeEntities(value), folder);
        if (path.isEmpty() || isPlaylistName(path) || !QFileInfo(path).isFile())
            continue;
        entries << path;
    }
    return entries;
}

namespace {

QStringList readList(const QString &path, QStringList (*parse)(const QByteArray &, const QString &))
{
    QByteArray bytes;
    if (readUserFile(path, kMaxPlaylistBytes, bytes) != UserFileStatus::Ok)
        return {};
    return parse(bytes, QFileInfo(path).absolutePath());
}

} // namespace

QStringList readPlaylist(const QString &path)
{
    return readList(path, &parsePlaylist);
}

bool isRamListName(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("ram"), Qt::CaseInsensitive) == 0;
}

bool isStreamAddress(const QString &text)
{
    static const QRegularExpression address(QStringLiteral("^(https?|rtsp|pnm|mms)://\\S+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return address.match(text.trimmed()).hasMatch();
}

QStringList parseRamList(const QByteArray &bytes, const QString &folder)
{
    QStringList entries;
    const QStringList lines = decodeText(bytes).split(QRegularExpression(QStringLiteral("[\r\n]+")));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (isStreamAddress(line)) {
            entries << line;
            continue;
        }
        // Another list is not followed, as in the other playlists.
        const QString path = localPath(line, folder);
        if (path.isEmpty() || isRamListName(path) || isPlaylistName(path) || !QFileInfo(path).isFile())
            continue;
        entries << path;
    }
    return entries;
}

QStringList readRamList(const QString &path)
{
    return readList(path, &parseRamList);
}

QByteArray rmidMidiData(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "RMID")
        return {};
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype start = at + 8;
        if (bytes.mid(at, 4) == "data") {
            if (size > quint32(bytes.size() - start))
                return {};
            return bytes.mid(start, qsizetype(size));
        }
        // Chunks are padded to an even size.
        const qint64 next = qint64(start) + qint64(size) + (size & 1);
        if (next > bytes.size())
            break;
        at = qsizetype(next);
    }
    return {};
}

QString playablePath(const QString &path, std::unique_ptr<QTemporaryFile> &holder)
{
    holder.reset();
    QFile f;
    // What is not a regular file is not handed on at all: the engine would
    // block on a FIFO or read a device without end.
    const UserFileStatus status = openUserFile(f, path, userfile::kNoLimit);
    if (status == UserFileStatus::Missing)
        return path; // the engine tells it is not there
    if (status != UserFileStatus::Ok)
        return QString();
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8) != "RMID")
        return path;
    if (f.size() > kMaxRmidBytes || !f.seek(0))
        return QString();
    const QByteArray midiData = rmidMidiData(f.readAll());
    if (midiData.isEmpty())
        return QString();
    holder = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vxrmi-XXXXXX.mid"));
    if (!holder->open() || holder->write(midiData) != midiData.size() || !holder->flush()) {
        holder.reset();
        return QString();
    }
    return holder->fileName();
}

} // namespace vx::media
