#pragma once
// The frames of the ID3v2.2/2.3 tag in a file as they are stored, read apart
// from the reader (which keeps only what the editor shows), and what becomes of
// each in a tag of the other version: a save keeps them, or names those it
// cannot keep.
#include <QByteArray>
#include <QList>
#include <QString>

#include <limits>

namespace ID3Module::stored {

// One frame as stored, unsynchronisation undone: `flags` holds the two flag
// bytes of ID3v2.3 (none in ID3v2.2), `body` everything behind the header.
struct Frame {
    QByteArray id;
    QByteArray flags;
    QByteArray body;
};

struct StoredTag {
    int major = 0; // 0: no ID3v2.2/2.3 tag whose frames could be read
    QList<Frame> frames;
};

// Compressed or encrypted: our reader sees no text in it.
bool sealed(const Frame &f);

// Where the payload starts in the body: behind the added fields of the flags.
int payloadOffset(const Frame &f);

// The ID3v2.2/2.3 tag at the file's start, up to the audio start: its frames
// up to the padding or the first one that does not fit (a damaged tag, which
// the editor has asked about already), or past `cap` bytes.
StoredTag storedTag(int fd, qint64 length, qint64 audioStart, const QString &path,
                    qint64 cap = std::numeric_limits<qint64>::max());

// The frame in the other version, or one with no ID where it has no place
// there (another layout, or flags ID3v2.2 cannot hold).
Frame converted(const Frame &f, int to);

// What a user knows a frame as, for the question before it goes.
QString frameName(const QByteArray &id);

} // namespace ID3Module::stored
