// Writing ID3v1/v1.1 blocks and ID3v2.2/2.3 tags, and removing tags. Every
// rewrite builds the new file complete under a temporary name beside the old
// one and renames it over it, so no backup file is needed: a failure at any
// moment leaves the old file whole under its name.
#include "fileio.h"
#include "id3.h"

#include "platform/core/errors.h"

#include <QFile>

namespace ID3Module {

namespace {

// Positions [from, end] of the source that hold its audio, as a 0-based
// half-open range: from the audio start to the end, less a trailing ID3v1
// block (recognised only in a file longer than 128 bytes).
std::pair<qint64, qint64> audioRange(int fd, qint64 length, qint64 audioStart, const QString &path)
{
    const qint64 from = std::max<qint64>(audioStart, 1) - 1;
    qint64 to = length;
    if (length > 128 && io::trailingTagAt(fd, length, path))
        to = length - 128;
    return {from, std::max(from, to)};
}

// The text's longest start that fits `limit` bytes of CP932, whole characters only.
QByteArray fitted(const QString &text, int limit)
{
    QString t = text;
    while (CodePageLength(t) > limit)
        t.chop(t.size() >= 2 && t.at(t.size() - 1).isLowSurrogate() ? 2 : 1);
    return ToCodePage(t);
}

QString yearText(qint16 year)
{
    return year < 0 ? QStringLiteral("-%1").arg(-int(year), 4, 10, QLatin1Char('0'))
                    : QStringLiteral("%1").arg(int(year), 4, 10, QLatin1Char('0'));
}

QByteArray utf16le(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

// Appends bytes with the unsynchronisation rule: 0x00 goes in between a 0xFF
// and a following 0x00 or 0xE0..0xFF. Returns the last byte written.
quint8 putBytes(const QByteArray &bytes, QByteArray &out, bool unsync, quint8 previous)
{
    for (char c : bytes) {
        const auto b = static_cast<quint8>(c);
        if (unsync && previous == 0xFF && (b == 0x00 || b >= 0xE0))
            out.append('\0');
        out.append(c);
        previous = b;
    }
    return previous;
}

void writeFrame(const QString &id, const ID3v2TagRecord &record, const QString &text, QByteArray &out, bool v23)
{
    QByteArray payload;
    if (id.startsWith(QLatin1Char('T'))) {
        if (text.isEmpty())
            return;
        payload = BuildTextPayload(record.Encoding, text);
    } else if (id == QLatin1String(v23 ? "COMM" : "COM")) {
        if (record.CommentDescription.isEmpty() && record.CommentBody.isEmpty())
            return;
        payload = BuildCommentPayload(record.Encoding, record.CommentDescription, record.CommentBody);
    } else {
        return;
    }
    PutStringAdvance(id, out);
    quint8 last = WriteFrameSize(static_cast<quint32>(payload.size()), v23 ? 4 : 3, out,
                                 record.Unsynchronisation, static_cast<quint8>(out.back()));
    if (v23)
        last = putBytes(QByteArray(2, '\0'), out, record.Unsynchronisation, last);
    putBytes(payload, out, record.Unsynchronisation, last);
}

// Rewrites `target` from `source` through a temporary file renamed over it
// (in place when they are the same file, however spelled). The temporary file
// is the crash-safe copy: the name holds the old file or the new one, whole.
template <class Body>
void rewrite(const QString &target, const QString &source, qint64 audioStart, Body &&body)
{
    const bool same = io::sameFile(target, source);
    io::Fd src(io::openRead(source));
    const qint64 length = io::sizeOf(src.get(), source);
    // A start past the end (a damaged tag size taken at its word) would copy no audio at all.
    if (audioStart > length + 1)
        throw vx::RuntimeError(
            vx::err::InvalidCall,
            source + QStringLiteral("\nID3v2 タグの大きさがファイルの終わりを越えていて、音声データがどこから始まるか"
                                    "わかりません。このまま保存すると音声が失われます。"));
    const QString written = same ? source : target;
    io::prepareRewrite(written);
    io::Replacement out(written, same ? source : (io::exists(target) ? target : QString()));
    body(out, src.get(), length, same);
    out.commit();
}

} // namespace

QString MakeBackupName(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString dir = path.left(slash + 1);
    const io::BackupName name = io::backupName(io::native(path.mid(slash + 1)));
    const QString base = dir + QFile::decodeName(name.stem);
    const QString ext = QFile::decodeName(name.ext);
    if (!io::exists(base + ext))
        return base + ext;
    for (int n = 1; n <= 32767; ++n) {
        const QString candidate = base + QString::number(n) + ext;
        if (!io::exists(candidate))
            return candidate;
    }
    vx::raise(vx::err::FileExists, base + ext);
}

QByteArray BuildTextPayload(int encoding, const QString &text)
{
    QByteArray out;
    if (encoding == 0) {
        out.append('\0');
        out.append(ToCodePage(text));
        out.append('\0');
    } else if (encoding == 1) {
        out.append("\x01\xFF\xFE", 3);
        out.append(utf16le(text));
        out.append(2, '\0');
    }
    return out;
}

QByteArray BuildCommentPayload(int encoding, const QString &description, const QString &text)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QByteArray out;
    if (encoding == 0) {
        out.append("\0jpn", 4);
        out.append(ToCodePage(description));
        out.append('\0');
        out.append(ToCodePage(body));
    } else if (encoding == 1) {
        out.append("\x01jpn\xFF\xFE", 6);
        out.append(utf16le(description));
        out.append("\0\0\xFF\xFE", 4);
        out.append(utf16le(body));
    }
    return out;
}

void PutStringAdvance(const QString &text, QByteArray &out)
{
    out.append(ToCodePage(text));
}

quint8 WriteFrameSize(quint32 size, int width, QByteArray &out, bool unsync, quint8 previous)
{
    if (width < 4 && size >> (8 * width) != 0)
        vx::raise(vx::err::Overflow);
    QByteArray bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes.append(static_cast<char>(size >> (8 * i) & 0xFF));
    return putBytes(bytes, out, unsync, previous);
}

void WriteFrameV22(const QString &id, const ID3v2TagRecord &record, const QString &text, QByteArray &out)
{
    writeFrame(id, record, text, out, false);
}

void WriteFrameV23(const QString &id, const ID3v2TagRecord &record, const QString &text, QByteArray &out)
{
    writeFrame(id, record, text, out, true);
}

QByteArray BuildID3v2Tag(const ID3v2TagRecord &r)
{
    QByteArray tag("ID3", 3);
    tag.append(static_cast<char>(r.MajorVersion));
    tag.append(static_cast<char>(r.Revision));
    tag.append(r.Unsynchronisation ? '\x80' : '\0');
    tag.append(4, '\0');
    const bool v23 = r.MajorVersion == 3;
    const QString year = yearText(r.Year);
    const std::pair<const char *, const QString *> frames[] = {
        {v23 ? "TALB" : "TAL", &r.Album},     {v23 ? "TCON" : "TCO", &r.Genre},
        {v23 ? "TIT1" : "TT1", &r.Series},    {v23 ? "TIT2" : "TT2", &r.Title},
        {v23 ? "TIT3" : "TT3", &r.Subtitle},  {v23 ? "TPE1" : "TP1", &r.Performer},
        {v23 ? "TPE2" : "TP2", &r.Band},      {v23 ? "TPE3" : "TP3", &r.Conductor},
        {v23 ? "TPE4" : "TP4", &r.Remixer},   {v23 ? "TRCK" : "TRK", &r.Track},
        {v23 ? "TYER" : "TYE", &year},        {v23 ? "COMM" : "COM", nullptr},
    };
    for (const auto &[id, text] : frames)
        writeFrame(QString::fromLatin1(id), r, text ? *text : QString(), tag, v23);
    // Readers take a final 0xFF and the audio's first byte for a pair.
    if (r.Unsynchronisation && static_cast<quint8>(tag.back()) == 0xFF)
        tag.append('\0');
    quint32 size = static_cast<quint32>(tag.size() - 10);
    if (size >= (1u << 28))
        vx::raise(vx::err::Overflow);
    for (int i = 0; i < 4; ++i)
        tag[6 + i] = static_cast<char>(size >> (7 * (3 - i)) & 0x7F);
    return tag;
}

QByteArray BuildID3v1Block(const ID3v1TagRecord &r, bool v11)
{
    if (v11 && (r.Track < 0 || r.Track > 255))
        vx::raise(vx::err::Overflow, QStringLiteral("トラック %1").arg(r.Track));
    QByteArray block(128, '\0');
    auto put = [&block](int offset, const QByteArray &bytes) { block.replace(offset, bytes.size(), bytes); };
    put(0, QByteArrayLiteral("TAG"));
    put(3, fitted(r.Title, 30));
    put(33, fitted(r.Artist, 30));
    put(63, fitted(r.Album, 30));
    put(93, yearText(r.Year).toLatin1().left(4));
    put(97, fitted(r.Comment, v11 ? 28 : 30));
    if (v11) {
        block[125] = '\0';
        block[126] = static_cast<char>(r.Track);
    }
    block[127] = static_cast<char>(r.Genre);
    return block;
}

void WriteID3v1Tag(const QString &target, const QString &source, bool v11, int currentKind,
                   const ID3v1TagRecord &record, qint64 audioStart)
{
    const QByteArray block = BuildID3v1Block(record, v11);
    rewrite(target, source, audioStart, [&](io::Replacement &out, int src, qint64 length, bool same) {
        qint64 from = 0;
        qint64 to = length;
        if (!same) {
            std::tie(from, to) = audioRange(src, length, audioStart, source);
        } else {
            // An ID3v2 tag before the audio goes: one kind of tag per file.
            if (currentKind == KindV22 || currentKind == KindV23 || audioStart > 1)
                from = std::min(std::max<qint64>(audioStart, 1) - 1, length);
            // The old block is replaced, never a second one added.
            if (length - from >= 128 && io::trailingTagAt(src, length, source))
                to = length - 128;
        }
        out.copyFrom(src, from, to, source);
        out.write(block);
    });
}

qint64 WriteID3v2Tag(const QString &target, const QString &source, const ID3v2TagRecord &record,
                     qint64 audioStart)
{
    const QByteArray tag = BuildID3v2Tag(record);
    rewrite(target, source, audioStart, [&](io::Replacement &out, int src, qint64 length, bool) {
        out.write(tag);
        const auto [from, to] = audioRange(src, length, audioStart, source);
        out.copyFrom(src, from, to, source);
    });
    return tag.size() + 1;
}

void RemoveTag(const QString &target, const QString &source, qint64 audioStart)
{
    rewrite(target, source, audioStart, [&](io::Replacement &out, int src, qint64 length, bool) {
        const auto [from, to] = audioRange(src, length, audioStart, source);
        out.copyFrom(src, from, to, source);
    });
}

} // namespace ID3Module
