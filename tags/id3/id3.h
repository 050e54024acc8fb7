#pragma once
// ID3 tags of media files: detection, ID3v1/v1.1 and ID3v2.2/2.3 reading into
// two records, writing and removal. Text that is not UTF-16 is CP932 (the
// code page the tags were written in). No window code here: the reader and
// writer work on bytes and files only.
//
// Positions count from 1 at a file's first byte. Failures are vx::RuntimeError
// (53 missing file, 70 no permission, 75 other file errors, 5 text that CP932
// cannot hold or a name that has no free backup name).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace ID3Module {

// Tag kind codes; equal to the editor's version list index.
enum TagKind : int { KindV1 = 0, KindV11 = 1, KindV22 = 2, KindV23 = 3, KindNone = 4 };

struct ID3v1TagRecord {
    qint16 IsV11 = 0;
    QString Title;
    QString Artist;
    QString Album;
    qint16 Year = 0;
    QString Comment;
    qint16 Track = 0;
    quint8 Genre = 0;
    bool NoYear = false; // writing: the year field stays blank (never set by reading)
};

struct ID3v2TagRecord {
    quint8 MajorVersion = 0;
    quint8 Revision = 0;
    bool Unsynchronisation = false;
    bool ExtendedHeader = false;
    bool Experimental = false;
    bool CrcPresent = false;
    bool Compression = false; // kept for the editor; no effect on writing
    qint32 TagSize = 0;
    quint32 Crc = 0;
    QString Series;
    QString Title;
    QString Subtitle;
    QString Performer;
    QString Band;
    QString Conductor;
    QString Remixer;
    QString Album;
    qint16 Year = 0;
    QString YearText; // the frame's text, for a year that 16 bits cannot hold
    QString CommentDescription;
    QString CommentBody;
    QString Track;
    QString Genre;
    quint8 Encoding = 0; // 0 CP932, 1 UTF-16
};

// ---- reading ----

int DetectTagType(const QString &path);
ID3v1TagRecord ReadID3v1Tag(const QString &path);
// Where an ID3v2 tag's bytes lie, for saves that must keep the rest.
struct ID3v2Extent {
    // Position of the file's first audio byte: behind the tag (and an
    // ID3v2.4 footer); when the tag's size reaches past the file's end, the
    // audio frame that follows the frames and their padding; 0 when there is
    // none, and where the audio starts is unknown.
    qint64 AudioStart = 0;
    // The frames were read to the tag's end: no frame ran past it and no
    // bytes stood there that are neither frame nor padding (always true for
    // versions whose frames are not read).
    bool Whole = true;
};
ID3v2TagRecord ReadID3v2Tag(const QString &path, ID3v2Extent *extent = nullptr);
// The file is longer than 128 bytes and ends in an ID3v1 block.
bool HasID3v1Block(const QString &path);

// Part of a file held in memory: bytes at positions base .. base + data.size() - 1.
// Positions outside it read as 0 and set `pastEnd`, which ends reading.
struct TagBuffer {
    QByteArray data;
    qint64 base = 1;
    mutable bool pastEnd = false;
    int at(qint64 pos) const;
};

// Text of at most `length` bytes from `pos`; with stopAtNul, up to the first 0x00.
QString ReadFixedString(const TagBuffer &file, qint64 pos, int length, bool stopAtNul);
// `count` bytes from `pos` on, never past `limit` (the last position that may
// be read); with unsync, FF 00 yields FF and consumes two positions. Advances
// `pos` past what it consumed. Fewer bytes come back when the limit cut it.
QByteArray ReadFileBytes(const TagBuffer &file, qint64 &pos, qint64 count, bool unsync, qint64 limit);
// `count` bytes from the 1-based index (missing bytes as 0); advances index.
QByteArray GetBytesFromArray(const QByteArray &bytes, qint64 &index, qint64 count);
// Text at the 1-based index of a frame payload; advances past it and its
// terminator. Encoding 255: taken from the payload byte at the index.
QString DecodeFrameText(const QByteArray &payload, qint64 &index, int encoding);
bool IsBitSet(quint8 flags, int bit);

// Numeric value of the number at a text's start (leading blanks skipped),
// rounded to a whole number; 0 when there is none.
double NumericValue(const QString &text);
// The same; 0 also when it does not fit 16 bits.
qint16 NumericValue16(const QString &text);

// CP932 text conversion. Decoding drops the lone first byte of a character
// cut at the text's end, and falls back to ISO-8859-1 for bytes that are not
// CP932 (what the ID3 format itself names). Encoding raises error 5 naming
// the text when a character has no CP932 form.
QString FromCodePage(const QByteArray &bytes);
QByteArray ToCodePage(const QString &text);
// Bytes the text takes in CP932 (characters without a CP932 form count 2).
int CodePageLength(const QString &text);

// ---- writing ----

// Writes the block as the file's last 128 bytes: it replaces a block that
// stands behind the audio start, and everything before it (an ID3v2 tag
// included) is kept. `currentKind` is not needed for that and not used.
void WriteID3v1Tag(const QString &target, const QString &source, bool v11, int currentKind,
                   const ID3v1TagRecord &record, qint64 audioStart);
// An ID3v2 tag for `record` and what it could not keep of the source's tag.
// With `shown` (the fields as the editor showed them), a field that still
// equals it keeps the source's frames; without it every field is rewritten.
// Every frame no field stands for is kept byte for byte when the version is
// the source's, converted where the other version has the same frame, and
// else named in `lost`. A version other than 2 and 3 builds no tag: then
// `lost` names what the fields do not show.
struct ID3v2Plan {
    QByteArray tag;
    QStringList lost;
};
ID3v2Plan PlanID3v2Tag(const QString &source, qint64 audioStart, const ID3v2TagRecord &record,
                       const ID3v2TagRecord *shown);
// Writes the planned tag before the audio (and any ID3v1 block behind it);
// returns the audio start of the written file.
qint64 WriteID3v2Tag(const QString &target, const QString &source, const ID3v2TagRecord &record,
                     qint64 audioStart, const ID3v2TagRecord *shown = nullptr);
void RemoveTag(const QString &target, const QString &source, qint64 audioStart);
// The 128 bytes of the file's ID3v1 block; empty when its last 128 bytes are
// none or do not lie behind the audio start (then "TAG" is inside a tag).
QByteArray ReadID3v1Bytes(const QString &path, qint64 audioStart);
// The text encoding of the ID3v2 tag before the audio: 1 when a text or
// comment frame is UTF-16, else 0 when there is one, -1 without any.
int TagTextEncoding(const QString &path, qint64 audioStart);

// A free backup name beside the file: "song_old.mp3", then "song_old1.mp3", ...
QString MakeBackupName(const QString &path);

// Building blocks of the writer, on the bytes of the tag being built.
QByteArray BuildTextPayload(int encoding, const QString &text);
QByteArray BuildCommentPayload(int encoding, const QString &description, const QString &text,
                               const QByteArray &language = QByteArrayLiteral("jpn"));
// Size big-endian in `width` bytes, unsynchronised after `previous`; returns
// the last byte written.
quint8 WriteFrameSize(quint32 size, int width, QByteArray &out, bool unsync, quint8 previous);
// The whole tag (header and frames) for the record alone.
QByteArray BuildID3v2Tag(const ID3v2TagRecord &record);
// The 128-byte ID3v1 block.
QByteArray BuildID3v1Block(const ID3v1TagRecord &record, bool v11);

} // namespace ID3Module
