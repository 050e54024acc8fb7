#pragma once
// What the last look at a file read, for the reads that follow it at once
// (its kind detected, then its tag read): they take these bytes instead of
// opening the file again while the name still names that very file, unchanged
// since before the bytes were read. Kept per thread.
#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <time.h>

namespace ID3Module::glimpse {

// The most a look reads from the start of a file: a tag without pictures fits.
inline constexpr qint64 kHeadBytes = 4096;

struct Bytes {
    qint64 size = 0;  // the file's length
    QByteArray head;  // its first min(size, kHeadBytes) bytes
    QByteArray tail;  // its last min(size, 128) bytes; empty when not read
};

// The coarse clock that stamps changes, read before a look opens its file.
struct timespec now();

// Keeps what a look read through `fd` (`path`, `native` its file name as the
// system spells it), opened after `before` and described by `st`, when a
// later change is sure to move the file's change time: the time is older than
// `before` and the file system stamps every change to the nanosecond.
// Whatever was kept before goes in any case.
void keep(const QString &path, const QByteArray &native, int fd, const struct stat &st,
          const struct timespec &before, Bytes bytes);

// What was kept of `path` within the last second, while stat still finds the
// same file (device, inode, size, mode, modification and change times);
// nullptr otherwise, and the reader opens the file as always.
const Bytes *fresh(const QString &path);

} // namespace ID3Module::glimpse
