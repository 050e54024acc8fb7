// FormVX3's playlist: an entry chosen, next and previous with their replay,
// and drops.
#include "formvx3.h"

#include "media/playlist/playlist.h"

QString FormVX3::entryPath() const
{
    return playlist::entryPath(*this);
}

void FormVX3::replay(const QString &path)
{
    RealAudio1.DoStop();
    RealAudio1.setSource(path);
    RealAudio1.DoPlay();
}

void FormVX3::File1_Click()
{
    playlist::showEntryState(*this);
    try {
        RealAudio1.setSource(entryPath());
        RealAudio1.DoPlay();
    } catch (const vx::RuntimeError &) {
        // A file the player refuses: it stays silent.
    }
}

// The entry the click started plays once more from its start.
void FormVX3::Command7_Click()
{
    playlist::step(*this, 1, Command7, [] {}, [this] { replay(entryPath()); });
}

void FormVX3::Command9_Click()
{
    playlist::step(*this, -1, Command9, [] {}, [this] { replay(entryPath()); });
}

void FormVX3::File1_OLEDragDrop(const QStringList &files)
{
    playlist::playDropped(files, [this](const QString &file) { replay(file); });
}
