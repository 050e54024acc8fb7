#pragma once
// Playlists a player control plays as one clip (".asx" and names ending in
// "wax"), and MIDI wrapped in RIFF (".rmi"). The reader is tolerant: tag and
// attribute names in any case, no strict XML, UTF-8 else the Japanese code
// page, references relative to the playlist's folder. Only local files that
// exist are kept; a reference to another playlist is not followed.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;

namespace vx::media {

bool isPlaylistName(const QString &path);
// The playable references of a playlist file, in order ("" entries never).
QStringList readPlaylist(const QString &path);
// The same from the file's bytes, references taken relative to `folder`.
QStringList parsePlaylist(const QByteArray &bytes, const QString &folder);
// A ".ram" list: one path or address per line; blank lines, "#" comments and
// lines that name neither an address of a scheme a player reaches (http,
// https, rtsp, pnm, mms) nor an existing local file are skipped.
bool isRamListName(const QString &path);
QStringList readRamList(const QString &path);
QStringList parseRamList(const QByteArray &bytes, const QString &folder);
// Text of a list file: by its byte order mark, else UTF-8, else the
// Japanese code page.
QString decodeText(const QByteArray &bytes);
// An address rather than a local path.
bool isStreamAddress(const QString &text);

// The MIDI data inside a RIFF "RMID" file; empty when the bytes are not one.
QByteArray rmidMidiData(const QByteArray &bytes);
// The file a player opens for `path`: the path itself, or for MIDI wrapped in
// RIFF a plain copy kept in `holder` (released with it). "" when the wrapped
// data cannot be read or copied, or when the path names something other than
// a regular file (a FIFO, a device).
QString playablePath(const QString &path, std::unique_ptr<QTemporaryFile> &holder);

} // namespace vx::media
