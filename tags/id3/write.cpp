// Writing ID3v1/v1.1 blocks and ID3v2.2/2.3 tags, and removing tags. Every
// rewrite goes through the suite's save step (a new file renamed over the
// old one, or the file rewritten in place with its old content kept), so no
// backup file is needed: a failure at any moment leaves the old file whole.
//
// A save changes only what the user changed: an ID3v2 save starts from the
// frames of the tag in the file (read as stored, not through the reader:
// storedtag.h), and an ID3v1 block and an ID3v2 tag each stay when the other
// is written.
#include "fileio.h"
#include "id3.h"
#include "storedtag.h"

#include "platform/core/errors.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <utility>

namespace ID3Module {

namespace {

using stored::converted;
using stored::Frame;
using stored::frameName;
using stored::payloadOffset;
using stored::sealed;
using stored::StoredTag;
using stored::storedTag;

// Where the ID3v1 block of a file of `length` bytes starts (0-based), or
// `length` when it has none: "TAG" in the last 128 bytes counts only behind
// the audio start, since inside an ID3v2 tag those bytes are the tag's.
qint64 blockStart(int fd, qint64 length, qint64 audioStart, const QString &path)
{
    const qint64 from = std::max<qint64>(audioStart, 1) - 1;
    if (length - 128 >= from && io::trailingTagAt(fd, length, path))
        return length - 128;
    return length;
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

// ---- the editor's fields ----

constexpr int kFieldCount = 12;
constexpr int kYear = 10;
constexpr int kComment = 11;
constexpr std::pair<const char *, const char *> kFieldIds[kFieldCount] = {
    {"TALB", "TAL"}, {"TCON", "TCO"}, {"TIT1", "TT1"}, {"TIT2", "TT2"}, {"TIT3", "TT3"}, {"TPE1", "TP1"},
    {"TPE2", "TP2"}, {"TPE3", "TP3"}, {"TPE4", "TP4"}, {"TRCK", "TRK"}, {"TYER", "TYE"}, {"COMM", "COM"},
};
constexpr QString ID3v2TagRecord::*kFieldTexts[kYear] = {
    &ID3v2TagRecord::Album,     &ID3v2TagRecord::Genre,     &ID3v2TagRecord::Series,    &ID3v2TagRecord::Title,
    &ID3v2TagRecord::Subtitle,  &ID3v2TagRecord::Performer, &ID3v2TagRecord::Band,      &ID3v2TagRecord::Conductor,
    &ID3v2TagRecord::Remixer,   &ID3v2TagRecord::Track,
};

int fieldOf(const QByteArray &id, int major)
{
    for (int f = 0; f < kFieldCount; ++f)
        if (id == (major == 3 ? kFieldIds[f].first : kFieldIds[f].second))
            return f;
    return -1;
}

QStringList valueOf(const ID3v2TagRecord &r, int field)
{
    if (field == kYear)
        return {r.YearText, QString::number(r.Year)};
    if (field == kComment)
        return {r.CommentDescription, r.CommentBody};
    return {r.*kFieldTexts[field]};
}

// The field's frame for the record; none for an empty field. A year is
// written when the record has one: a year text or a year other than 0.
Frame fieldFrame(const ID3v2TagRecord &r, int field, int major, const QByteArray &language)
{
    QByteArray payload;
    if (field == kComment) {
        if (!r.CommentDescription.isEmpty() || !r.CommentBody.isEmpty())
            payload = BuildCommentPayload(r.Encoding, r.CommentDescription, r.CommentBody, language);
    } else if (field == kYear) {
        if (r.Year != 0 || !r.YearText.isEmpty())
            payload = BuildTextPayload(r.Encoding, yearText(r.Year));
    } else if (!(r.*kFieldTexts[field]).isEmpty()) {
        payload = BuildTextPayload(r.Encoding, r.*kFieldTexts[field]);
    }
    if (payload.isEmpty())
        return {};
    return {QByteArray(major == 3 ? kFieldIds[field].first : kFieldIds[field].second),
            major == 3 ? QByteArray(2, '\0') : QByteArray(), payload};
}

// A comment keeps the language it was written in.
QByteArray languageOf(const Frame &f)
{
    const int at = payloadOffset(f) + 1;
    if (sealed(f) || f.body.size() < at + 3)
        return QByteArrayLiteral("jpn");
    return f.body.mid(at, 3);
}

QByteArray assemble(const ID3v2TagRecord &r, const QList<Frame> &frames, int major)
{
    QByteArray body;
    for (const Frame &f : frames) {
        body.append(f.id);
        WriteFrameSize(static_cast<quint32>(f.body.size()), major == 3 ? 4 : 3, body, false, 0);
        body.append(f.flags);
        body.append(f.body);
    }
    QByteArray tag("ID3", 3);
    tag.append(static_cast<char>(major));
    tag.append(static_cast<char>(r.Revision));
    tag.append(r.Unsynchronisation ? '\x80' : '\0');
    tag.append(4, '\0');
    putBytes(body, tag, r.Unsynchronisation, 0);
    // Readers take a final 0xFF and the audio's first byte for a pair.
    if (r.Unsynchronisation && static_cast<quint8>(tag.back()) == 0xFF)
        tag.append('\0');
    const quint32 size = static_cast<quint32>(tag.size() - 10);
    if (tag.size() - 10 >= (qint64(1) << 28))
        vx::raise(vx::err::Overflow);
    for (int i = 0; i < 4; ++i)
        tag[6 + i] = static_cast<char>(size >> (7 * (3 - i)) & 0x7F);
    return tag;
}

// The tag of version `major` (none for another value) from the stored tag
// and the record: see PlanID3v2Tag.
ID3v2Plan plan(const StoredTag &old, const ID3v2TagRecord &r, const ID3v2TagRecord *shown, int major)
{
    bool changed[kFieldCount];
    int last[kFieldCount];
    for (int f = 0; f < kFieldCount; ++f) {
        changed[f] = !shown || valueOf(r, f) != valueOf(*shown, f);
        last[f] = -1;
    }
    // The editor shows a field's last frame, as the reader keeps the last.
    for (qsizetype i = 0; i < old.frames.size(); ++i)
        if (const int f = fieldOf(old.frames[i].id, old.major); f >= 0)
            last[f] = int(i);
    const bool writes = major == 2 || major == 3;
    ID3v2Plan out;
    QList<Frame> frames;
    const auto add = [&frames](Frame f) {
        if (f.id.isEmpty())
            return false;
        frames.append(std::move(f));
        return true;
    };
    for (qsizetype i = 0; i < old.frames.size(); ++i) {
        const Frame &f = old.frames[i];
        const int field = fieldOf(f.id, old.major);
        const bool shownHere = field >= 0 && last[field] == i;
        if (shownHere && changed[field]) {
            if (writes)
                add(fieldFrame(r, field, major, languageOf(f)));
            continue;
        }
        if (writes && add(major == old.major ? f : converted(f, major)))
            continue;
        // What the user sees in a box goes with the tag without naming it.
        if (!shownHere || sealed(f))
            out.lost.append(frameName(f.id));
    }
    if (!writes)
        return out;
    for (int field = 0; field < kFieldCount; ++field)
        if (last[field] < 0 && changed[field])
            add(fieldFrame(r, field, major, QByteArrayLiteral("jpn")));
    out.tag = assemble(r, frames, major);
    return out;
}

// The new file, in order: bytes of our own, then bytes [from, to) of the old one.
struct Piece {
    QByteArray bytes;
    qint64 from = 0;
    qint64 to = 0;
};

// Rewrites `target` from `source` (the same file, however spelled, or
// another) through the suite's save step: the pieces `body` gives for the
// source's descriptor and length, the old file's bytes copied as they are.
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
    const QList<Piece> pieces = body(src.get(), length);
    vx::StreamedContent content;
    for (const Piece &p : pieces)
        content.size += p.bytes.size() + std::max<qint64>(p.to - p.from, 0);
    // A file rewritten in place is read from the copy of its old content.
    content.write = [&](int held, vx::SaveSink &out) {
        const int from = same && held >= 0 ? held : src.get();
        for (const Piece &p : pieces)
            if (!out.write(p.bytes.constData(), p.bytes.size()) || (p.to > p.from && !out.copy(from, p.from, p.to)))
                return false;
        return true;
    };
    content.holdLimit = io::kMaxHeldBytes;
    io::save(same ? source : target, content);
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

QByteArray BuildCommentPayload(int encoding, const QString &description, const QString &text,
                               const QByteArray &language)
{
    const QByteArray lang = language.leftJustified(3, ' ', true);
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QByteArray out;
    if (encoding == 0) {
        out.append('\0');
        out.append(lang);
        out.append(ToCodePage(description));
        out.append('\0');
        out.append(ToCodePage(body));
    } else if (encoding == 1) {
        out.append('\x01');
        out.append(lang);
        out.append("\xFF\xFE", 2);
        out.append(utf16le(description));
        out.append("\0\0\xFF\xFE", 4);
        out.append(utf16le(body));
    }
    return out;
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

QByteArray BuildID3v2Tag(const ID3v2TagRecord &record)
{
    return plan({}, record, nullptr, record.MajorVersion == 3 ? 3 : 2).tag;
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
    if (!r.NoYear)
        put(93, yearText(r.Year).toLatin1().left(4));
    put(97, fitted(r.Comment, v11 ? 28 : 30));
    if (v11) {
        block[125] = '\0';
        block[126] = static_cast<char>(r.Track);
    }
    block[127] = static_cast<char>(r.Genre);
    return block;
}

void WriteID3v1Tag(const QString &target, const QString &source, bool v11, int,
                   const ID3v1TagRecord &record, qint64 audioStart)
{
    const QByteArray block = BuildID3v1Block(record, v11);
    rewrite(target, source, audioStart, [&](int src, qint64 length) {
        return QList<Piece>{{{}, 0, blockStart(src, length, audioStart, source)}, {block}};
    });
}

ID3v2Plan PlanID3v2Tag(const QString &source, qint64 audioStart, const ID3v2TagRecord &record,
                       const ID3v2TagRecord *shown)
{
    io::Fd src(io::openRead(source));
    const StoredTag old = storedTag(src.get(), io::sizeOf(src.get(), source), audioStart, source);
    src.reset();
    return plan(old, record, shown, record.MajorVersion);
}

qint64 WriteID3v2Tag(const QString &target, const QString &source, const ID3v2TagRecord &record,
                     qint64 audioStart, const ID3v2TagRecord *shown)
{
    ID3v2TagRecord r = record;
    r.MajorVersion = record.MajorVersion == 3 ? 3 : 2;
    const QByteArray tag = PlanID3v2Tag(source, audioStart, r, shown).tag;
    // The audio and an ID3v1 block behind it stay as they are.
    rewrite(target, source, audioStart, [&](int, qint64 length) {
        return QList<Piece>{{tag, std::max<qint64>(audioStart, 1) - 1, length}};
    });
    return tag.size() + 1;
}

void RemoveTag(const QString &target, const QString &source, qint64 audioStart)
{
    rewrite(target, source, audioStart, [&](int src, qint64 length) {
        // A file of just 128 bytes is audio, whatever it starts with.
        const qint64 to = length > 128 ? blockStart(src, length, audioStart, source) : length;
        return QList<Piece>{{{}, std::max<qint64>(audioStart, 1) - 1, to}};
    });
}

QByteArray ReadID3v1Bytes(const QString &path, qint64 audioStart)
{
    io::Fd fd(io::openRead(path));
    const qint64 length = io::sizeOf(fd.get(), path);
    if (blockStart(fd.get(), length, audioStart, path) == length)
        return {};
    QByteArray block(128, '\0');
    block.resize(io::readAt(fd.get(), block.data(), 128, length - 128, path));
    return block;
}

int TagTextEncoding(const QString &path, qint64 audioStart)
{
    // What the reader reads of a tag: a hostile size costs no more here.
    constexpr qint64 kMaxTagBytes = qint64(32) << 20;
    io::Fd fd(io::openRead(path));
    const StoredTag tag = storedTag(fd.get(), io::sizeOf(fd.get(), path), audioStart, path, kMaxTagBytes);
    int encoding = -1;
    for (const Frame &f : tag.frames) {
        const int at = payloadOffset(f);
        if (sealed(f) || f.body.size() <= at || !(f.id.startsWith('T') || fieldOf(f.id, tag.major) == kComment))
            continue;
        const int e = static_cast<unsigned char>(f.body[at]);
        if (e == 1)
            return 1;
        if (e == 0)
            encoding = 0;
    }
    return encoding;
}

} // namespace ID3Module
