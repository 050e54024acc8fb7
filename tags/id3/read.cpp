// Detection and reading of ID3v1/v1.1 blocks and ID3v2.2/2.3 tags. The tag is
// read into memory once and parsed there; nothing past it or past the file is
// ever parsed.
#include "fileio.h"
#include "glimpse.h"
#include "id3.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace ID3Module {

namespace {

enum Field { FAlbum, FGenre, FSeries, FTitle, FSubtitle, FPerformer, FBand, FConductor, FRemixer, FTrack, FYear,
             FComment, FNone };

Field fieldOf(std::string_view id)
{
    struct Entry {
        std::string_view v23;
        std::string_view v22;
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

quint32 bigEndian(const char *b, qint64 count)
{
    quint32 v = 0;
    for (qint64 i = 0; i < count; ++i)
        v = v << 8 | static_cast<unsigned char>(b[i]);
    return v;
}

// ReadFileBytes' steps, the bytes going to `out` (nullptr: only consumed);
// returns how many came.
qint64 takeBytes(const TagBuffer &file, qint64 &pos, qint64 count, bool unsync, qint64 limit, char *out)
{
    if (count <= 0)
        return 0;
    qint64 got = 0;
    if (!unsync) {
        // One copy of what lies in the buffer; the position that was not
        // there counts as consumed, as the byte-wise steps consume it.
        const qint64 want = std::min(count, std::max<qint64>(0, limit - pos + 1));
        const qint64 i = pos - file.base;
        const qint64 there = file.pastEnd || i < 0 || i >= file.data.size() ? 0 : file.data.size() - i;
        got = std::min(want, there);
        if (out && got > 0)
            std::memcpy(out, file.data.constData() + i, static_cast<size_t>(got));
        pos += got;
        if (got < want) {
            file.pastEnd = true;
            ++pos;
        }
    } else {
        while (got < count && pos <= limit) {
            const int b = file.at(pos++);
            if (file.pastEnd)
                break;
            if (out)
                out[got] = static_cast<char>(b);
            ++got;
            if (b == 0xFF && pos <= limit && file.at(pos) == 0x00 && !file.pastEnd)
                ++pos;
        }
    }
    file.pastEnd = file.pastEnd || got < count;
    return got;
}

// A number of at most 4 bytes, big-endian, through the tag's steps.
quint32 takeNumber(const TagBuffer &file, qint64 &pos, int count, bool unsync, qint64 limit)
{
    char b[4];
    return bigEndian(b, takeBytes(file, pos, count, unsync, limit, b));
}

// A file's bytes: from the look that detected its kind while that still
// holds, else read through a descriptor opened at the first need.
class Source {
public:
    explicit Source(const QString &path) : path_(path), seen_(glimpse::fresh(path)) {}

    qint64 size()
    {
        if (seen_)
            return seen_->size;
        open();
        return st_.st_size;
    }

    // The bytes at positions first .. first + count - 1 (fewer at the end of the file).
    TagBuffer span(qint64 first, qint64 count)
    {
        TagBuffer buf;
        buf.base = first;
        if (count <= 0 || first < 1)
            return buf;
        if (seen_) {
            const qint64 from = first - 1;
            const QByteArray &head = seen_->head;
            const QByteArray &tail = seen_->tail;
            const qint64 tailFrom = seen_->size - tail.size();
            if (from + count <= head.size() || head.size() == seen_->size) {
                buf.data = head.mid(from, count);
                return buf;
            }
            if (!tail.isEmpty() && from >= tailFrom) {
                buf.data = tail.mid(from - tailFrom, count);
                return buf;
            }
        }
        open();
        buf.data.resize(count);
        buf.data.resize(io::readAt(fd_.get(), buf.data.data(), count, first - 1, path_));
        return buf;
    }

    // Lets the file go once all is read.
    void done() { fd_.reset(); }

private:
    void open()
    {
        if (fd_.valid())
            return;
        seen_ = nullptr;
        fd_.reset(io::openRead(path_, io::native(path_), st_));
    }

    const QString &path_;
    const glimpse::Bytes *seen_;
    io::Fd fd_;
    struct stat st_ {};
};

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
    // Every byte that comes lies in the buffer and takes a position up to the limit.
    const qint64 left = file.data.size() - std::max<qint64>(0, pos - file.base);
    out.resize(std::max<qint64>(0, std::min({count, limit - pos + 1, left})));
    out.resize(takeBytes(file, pos, count, unsync, limit, out.data()));
    return out;
}

bool HasID3v1Block(const QString &path)
{
    Source file(path);
    const qint64 length = file.size();
    return length > 128 && file.span(length - 127, 3).data == "TAG";
}

int DetectTagType(const QString &path)
{
    const struct timespec before = glimpse::now();
    const QByteArray name = io::native(path);
    struct stat st;
    io::Fd fd(io::openRead(path, name, st));
    glimpse::Bytes seen;
    seen.size = st.st_size;
    seen.head.resize(std::min(seen.size, glimpse::kHeadBytes));
    seen.head.resize(io::readAt(fd.get(), seen.head.data(), seen.head.size(), 0, path));
    int kind = KindNone;
    if (seen.head.startsWith("ID3")) {
        kind = KindV22;
    } else if (seen.size >= 128) {
        if (seen.head.size() == seen.size) {
            seen.tail = seen.head.right(128);
        } else {
            seen.tail.resize(128);
            seen.tail.resize(io::readAt(fd.get(), seen.tail.data(), 128, seen.size - 128, path));
        }
        if (seen.tail.startsWith("TAG"))
            kind = KindV1;
    }
    // What a file that shrank under the look gave is no picture of it.
    const bool whole = seen.head.size() == std::min(seen.size, glimpse::kHeadBytes) &&
                       (seen.tail.isEmpty() || seen.tail.size() == 128);
    glimpse::keep(whole ? path : QString(), name, fd.get(), st, before, std::move(seen));
    return kind;
}

ID3v1TagRecord ReadID3v1Tag(const QString &path)
{
    Source file(path);
    const qint64 length = file.size();
    const TagBuffer block = file.span(std::max<qint64>(1, length - 127), 128);
    file.done();
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
    Source file(path);
    const qint64 length = file.size();
    ID3v2TagRecord r;
    const TagBuffer header = file.span(1, 10);
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
    const TagBuffer tag = file.span(1, std::min({tagEnd, length, kMaxTagBytes}));
    const bool capped = tagEnd > kMaxTagBytes && length > kMaxTagBytes;
    file.done();
    const bool unsync = r.Unsynchronisation;
    qint64 pos = 11;
    qint64 padding = 0;
    if (r.MajorVersion >= 3 && r.ExtendedHeader) {
        takeBytes(tag, pos, 4, unsync, tagEnd, nullptr);
        char extFlags[2];
        r.CrcPresent = takeBytes(tag, pos, 2, unsync, tagEnd, extFlags) > 0 &&
                       IsBitSet(static_cast<quint8>(extFlags[0]), 7);
        padding = takeNumber(tag, pos, 4, unsync, tagEnd);
        if (r.CrcPresent)
            r.Crc = takeNumber(tag, pos, 4, unsync, tagEnd);
    }

    const bool v23 = r.MajorVersion == 3;
    const int idSize = v23 ? 4 : 3;
    const int headerSize = v23 ? 10 : 6;
    // Where the frames end: at the first header whose ID is no frame ID.
    qint64 framesEnd = 0;
    bool stray = false; // bytes that are neither a frame nor padding
    // A frame header that does not fit in the tag is not a frame.
    while (!tag.pastEnd && pos + headerSize - 1 <= tagEnd) {
        const qint64 idAt = std::min(pos - 1, tag.data.size());
        const std::string_view id(tag.data.constData() + idAt,
                                  static_cast<size_t>(std::min<qint64>(idSize, tag.data.size() - idAt)));
        if (!framesEnd && (id.size() < size_t(idSize) || !std::all_of(id.begin(), id.end(), frameIdChar))) {
            framesEnd = pos;
            stray = id.size() == size_t(idSize) && id[0] != '\0';
        }
        pos += idSize;
        qint64 size = takeNumber(tag, pos, idSize, unsync, tagEnd);
        if (v23) {
            char frameFlags[2];
            const qint64 got = takeBytes(tag, pos, 2, unsync, tagEnd, frameFlags);
            const auto second = static_cast<quint8>(got == 2 ? frameFlags[1] : 0);
            if (IsBitSet(second, 7)) {
                takeBytes(tag, pos, 4, unsync, tagEnd, nullptr);
                size -= 4;
            }
            if (IsBitSet(second, 6)) {
                takeBytes(tag, pos, 1, unsync, tagEnd, nullptr);
                size -= 1;
            }
            if (IsBitSet(second, 5)) {
                takeBytes(tag, pos, 1, unsync, tagEnd, nullptr);
                size -= 1;
            }
        }
        if (tag.pastEnd || size < 0)
            break;
        // A size reaching past the tag is clipped to it, and that frame is the last.
        const Field field = fieldOf(id);
        if (field == FNone) {
            takeBytes(tag, pos, size, unsync, tagEnd, nullptr);
        } else if (unsync) {
            store(r, field, ReadFileBytes(tag, pos, size, unsync, tagEnd));
        } else {
            // Without unsynchronisation the payload is the tag's own bytes.
            const qint64 from = pos - tag.base;
            const qint64 got = takeBytes(tag, pos, size, unsync, tagEnd, nullptr);
            store(r, field, got > 0 ? QByteArray::fromRawData(tag.data.constData() + from, got) : QByteArray());
        }
        if (tag.pastEnd || id.empty() || id[0] == '\0' || pos >= tagEnd - padding)
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
