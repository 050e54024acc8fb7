#pragma once
// Playlists a player control plays as one clip (".asx" and names ending in
// "wax"), and MIDI wrapped in RIFF (".rmi"). The reader is tolerant: tag and
// attribute names in any case, no strict XML, UTF-8 else the Japanese code
// page, references relative to the playlist's folder. Only local files that
// exist are kept; a reference to another playlist is not followed.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vx::media {

bool isPlaylistName(const QString &path);
// The playable references of a playlist file, in order ("" entries never).
QStringList readPlaylist(const QString &path);
// The same from the file's bytes, references taken relative to `folder`.
QStringList parsePlaylist(const QByteArray &bytes, const QString &folder);
// The MIDI data inside a RIFF "RMID" file; empty when the bytes are not one.
QByteArray rmidMidiData(const QByteArray &bytes);

} // namespace vx::media
