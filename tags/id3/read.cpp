// Detection and reading of ID3v1/v1.1 blocks and ID3v2.2/2.3 tags. The tag is
// read into memory once; nothing is ever read past it or past the file.
#include "fileio.h"
#include "id3.h"

#include <algorithm>
#include <array>

namespace ID3Module {

namespace {

enum Field { FAlbum, FGenre, FSeries, FTitle, FSubtitle, FPerformer, FBand, FConductor, FRemixer, FTrack, FYear,
             FComment, FNone };

Field fieldOf(const QByteArray &id)
{
    struct Entry {
        const char *v23;
        const char *v22;
        Field field;
    };
    static constexpr std::array<Entry, 12> table{{
        {"TALB", "TAL", FAlbum},     {"TCON", "TCO", FGenre},     {"TIT1", "TT1", FSeries},
        {"TIT2", "TT2", FTitle},     {"TIT3", "TT3", FSubtitle},  {"TPE1", "TP1", FPerformer},
        {"TPE2", "TP2", FBand},      {"TPE3", "TP3", FConductor}, {"TPE4", "TP4", FRemixer},
        {"TRCK", "TRK", FTrack},     {"TYER", "TYE", FYear},      {"COMM", "COM", FComment},
    }};
    for (const Entry &e : table)
        if (id == e.v23 || id == e.v22)
            return e.field;
    return FNone;
}

void store(ID3v2TagRecord &r, Field field, const QByteArray &payload)
{
    qint64 index = 1;
    if (field == FComment) {
        const int encoding = payload.isEmpty() ? -1 : static_cast<unsigned char>(payload[0]);
        index = 5; // encoding byte and language
        r.CommentDescription = DecodeFrameText(payload, index, encoding);
        r.CommentBody = DecodeFrameText(payload, index, encoding);
        return;
    }
    const QString text = DecodeFrameText(payload, index, 255);
    switch (field) {
    case FAlbum: r.Album = text; break;
    case FGenre: r.Genre = text; break;
    case FSeries: r.Series = text; break;
    case FTitle: r.Title = text; break;
    case FSubtitle: r.Subtitle = text; break;
    case FPerformer: r.Performer = text; break;
    case FBand: r.Band = text; break;
    case FConductor: r.Conductor = text; break;
    case FRemixer: r.Remixer = text; break;
    case FTrack: r.Track = text; break;
    case FYear:
        r.Year = NumericValue16(text);
        r.YearText = text;
        break;
    default: break;
    }
}

quint32 bigEndian(const QByteArray &b)
{
    quint32 v = 0;
    for (char c : b)
        v = v << 8 | static_cast<unsigned char>(c);
    return v;
}

// The bytes at positions first .. first + count - 1 (fewer at the end of the file).
TagBuffer readSpan(int fd, qint64 first, qint64 count, const QString &path)
{
    TagBuffer buf;
    buf.base = first;
    if (count <= 0 || first < 1)
        return buf;
    buf.data.resize(count);
    const qint64 got = io::readAt(fd, buf.data.data(), count, first - 1, path);
    buf.data.resize(got);
    return buf;
}

bool frameIdChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// An MPEG audio or ADTS frame header at the 0-based index.
bool audioFrameAt(const QByteArray &data, qint64 i)
{
    if (i < 0 || i + 3 > data.size())
        return false;
    const auto b1 = static_cast<unsigned char>(data[i + 1]);
    const auto b2 = static_cast<unsigned char>(data[i + 2]);
    if (static_cast<unsigned char>(data[i]) != 0xFF || (b1 & 0xE0) != 0xE0)
        return false;
    if ((b1 & 0x06) == 0) // layer bits 00: ADTS
        return (b1 & 0xF6) == 0xF0;
    return (b1 >> 3 & 3) != 1 && (b2 >> 4) != 15 && (b2 >> 2 & 3) != 3;
}

} // namespace

int TagBuffer::at(qint64 pos) const
{
    const qint64 i = pos - base;
    if (i < 0 || i >= data.size()) {
        pastEnd = true;
        return 0;
    }
    return static_cast<unsigned char>(data[i]);
}

QString ReadFixedString(const TagBuffer &file, qint64 pos, int length, bool stopAtNul)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
        const char c = static_cast<char>(file.at(pos + i));
        if (stopAtNul && c == '\0')
            break;
        bytes.append(c);
    }
    return FromCodePage(bytes);
}

QByteArray ReadFileBytes(const TagBuffer &file, qint64 &pos, qint64 count, bool unsync, qint64 limit)
{
    QByteArray out;
    if (count <= 0)
        return out;
    out.reserve(std::min<qint64>(count, std::max<qint64>(0, limit - pos + 1)));
    while (out.size() < count && pos <= limit) {
        const int b = file.at(pos++);
        if (file.pastEnd)
            break;
        out.append(static_cast<char>(b));
        if (unsync && b == 0xFF && pos <= limit && file.at(pos) == 0x00 && !file.pastEnd)
            ++pos;
    }
    file.pastEnd = file.pastEnd || out.size() < count;
    return out;
}

bool HasID3v1Block(const QString &path)
{
    io::Fd fd(io::openRead(path));
    const qint64 length = io::sizeOf(fd.get(), path);
    return length > 128 && io::trailingTagAt(fd.get(), length, path);
}

int DetectTagType(const QString &path)
{
    io::Fd fd(io::openRead(path));
    char head[3] = {};
    if (io::readAt(fd.get(), head, 3, 0, path) == 3 && head[0] == 'I' && head[1] == 'D' && head[2] == '3')
        return KindV22;
    return io::trailingTagAt(fd.get(), io::sizeOf(fd.get(), path), path) ? KindV1 : KindNone;
}

ID3v1TagRecord ReadID3v1Tag(const QString &path)
{
    io::Fd fd(io::openRead(path));
    const qint64 length = io::sizeOf(fd.get(), path);
    const TagBuffer block = readSpan(fd.get(), std::max<qint64>(1, length - 127), 128, path);
    const qint64 p = length - 127;
    ID3v1TagRecord r;
    r.Title = ReadFixedString(block, p + 3, 30, true);
    r.Artist = ReadFixedString(block, p + 33, 30, true);
    r.Album = ReadFixedString(block, p + 63, 30, true);
    r.Year = NumericValue16(ReadFixedString(block, p + 93, 4, false));
    r.Comment = ReadFixedString(block, p + 97, 30, true);
    bool v11 = false;
    for (int i = 0; i < 29 && !v11; ++i)
        v11 = block.at(p + 97 + i) == 0;
    if (v11) {
        r.IsV11 = 1;
        r.Track = static_cast<qint16>(block.at(p + 126));
    }
    r.Genre = static_cast<quint8>(block.at(p + 127));
    return r;
}

ID3v2TagRecord ReadID3v2Tag(const QString &path, ID3v2Extent *extent)
{
    io::Fd fd(io::openRead(path));
    const qint64 length = io::sizeOf(fd.get(), path);
    ID3v2TagRecord r;
    const TagBuffer header = readSpan(fd.get(), 1, 10, path);
    r.MajorVersion = static_cast<quint8>(header.at(4));
    r.Revision = static_cast<quint8>(header.at(5));
    const auto flags = static_cast<quint8>(header.at(6));
    r.Unsynchronisation = IsBitSet(flags, 7);
    r.ExtendedHeader = IsBitSet(flags, 6);
    r.Experimental = IsBitSet(flags, 5);
    for (qint64 i = 7; i <= 10; ++i)
        r.TagSize = r.TagSize * 128 + (header.at(i) & 0x7F);
    const qint64 tagEnd = qint64(r.TagSize) + 10; // last position of the tag
    // An ID3v2.4 footer repeats the header behind the tag.
    const qint64 claimedStart = tagEnd + 1 + (r.MajorVersion == 4 && IsBitSet(flags, 4) ? 10 : 0);
    ID3v2Extent found;
    found.AudioStart = claimedStart <= length + 1 ? claimedStart : 0;
    if (extent)
        *extent = found;
    // Later versions lay their frames out otherwise: their header is all we read.
    if (r.MajorVersion >= 4)
        return r;

    // A tag may claim 256 MB; what lies past the first 32 MB (cover pictures,
    // if anything real) is read as past the end, so a hostile size costs no more.
    constexpr qint64 kMaxTagBytes = qint64(32) << 20;
    const TagBuffer tag =
        readSpan(fd.get(), 1, std::min({tagEnd, length, kMaxTagBytes}), path);
    const bool capped = tagEnd > kMaxTagBytes && length > kMaxTagBytes;
    fd.reset();
    const bool unsync = r.Unsynchronisation;
    qint64 pos = 11;
    qint64 padding = 0;
    if (r.MajorVersion >= 3 && r.ExtendedHeader) {
        ReadFileBytes(tag, pos, 4, unsync, tagEnd);
        const QByteArray extFlags = ReadFileBytes(tag, pos, 2, unsync, tagEnd);
        r.CrcPresent = !extFlags.isEmpty() && IsBitSet(static_cast<quint8>(extFlags[0]), 7);
        padding = bigEndian(ReadFileBytes(tag, pos, 4, unsync, tagEnd));
        if (r.CrcPresent)
            r.Crc = bigEndian(ReadFileBytes(tag, pos, 4, unsync, tagEnd));
    }

    const bool v23 = r.MajorVersion == 3;
    const int idSize = v23 ? 4 : 3;
    const int headerSize = v23 ? 10 : 6;
    // Where the frames end: at the first header whose ID is no frame ID.
    qint64 framesEnd = 0;
    bool stray = false; // bytes that are neither a frame nor padding
    // A frame header that does not fit in the tag is not a frame.
    while (!tag.pastEnd && pos + headerSize - 1 <= tagEnd) {
        const QByteArray id = tag.data.mid(pos - 1, idSize);
        if (!framesEnd && (id.size() < idSize || !std::all_of(id.begin(), id.end(), frameIdChar))) {
            framesEnd = pos;
            stray = id.size() == idSize && id[0] != '\0';
        }
        pos += idSize;
        qint64 size = bigEndian(ReadFileBytes(tag, pos, idSize, unsync, tagEnd));
        if (v23) {
            const QByteArray frameFlags = ReadFileBytes(tag, pos, 2, unsync, tagEnd);
            const auto second = static_cast<quint8>(frameFlags.size() == 2 ? frameFlags[1] : 0);
            if (IsBitSet(second, 7)) {
                ReadFileBytes(tag, pos, 4, unsync, tagEnd);
                size -= 4;
            }
            if (IsBitSet(second, 6)) {
                ReadFileBytes(tag, pos, 1, unsync, tagEnd);
                size -= 1;
            }
            if (IsBitSet(second, 5)) {
                ReadFileBytes(tag, pos, 1, unsync, tagEnd);
                size -= 1;
            }
        }
        if (tag.pastEnd || size < 0)
            break;
        // A size reaching past the tag is clipped to it, and that frame is the last.
        const QByteArray payload = ReadFileBytes(tag, pos, size, unsync, tagEnd);
        const Field field = fieldOf(id);
        if (field != FNone)
            store(r, field, payload);
        if (tag.pastEnd || id.isEmpty() || id[0] == '\0' || pos >= tagEnd - padding)
            break;
    }
    found.Whole = !stray && (!tag.pastEnd || capped);
    // A size that reaches past the file is damage: the audio is where the
    // frames and their padding end, when an audio frame stands there.
    if (!found.AudioStart) {
        qint64 i = framesEnd - 1;
        while (framesEnd > 0 && i < tag.data.size() && tag.data[i] == '\0')
            ++i;
        found.Whole = framesEnd > 0 && audioFrameAt(tag.data, i);
        if (found.Whole)
            found.AudioStart = i + 1;
    }
    if (extent)
        *extent = found;
    return r;
}

} // namespace ID3Module
