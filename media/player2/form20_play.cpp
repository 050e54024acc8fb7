// Form20's playlist: an entry chosen, next and previous, drops, the end of a
// clip under the three modes, and the play speed at each state change.
#include "form20.h"

#include "media/playlist/playlist.h"

#include <QFileInfo>

QString Form20::entryPath() const
{
    return playlist::entryPath(*this);
}

void Form20::showEntryState()
{
    playlist::showEntryState(*this);
}

void Form20::loadAndPlay(const QString &path, const QString &displayName)
{
    MediaPlayer1.setFileName(path);
    MediaPlayer1.setRate(player2::PlaySpeed());
    Text2.setText(MediaPlayer1.GetMediaInfoString(8) + QStringLiteral(" / ") + MediaPlayer1.GetMediaInfoString(9));
    if (Text2.Text() == QLatin1String(" / "))
        Text2.setText(displayName);
    MediaPlayer1.Play();
}

void Form20::File1_Click()
{
    Text2.setText(QString());
    showEntryState();
    try {
        loadAndPlay(entryPath(), File1.FileName());
    } catch (const vx::RuntimeError &) {
        // A file the player refuses: it stays silent.
    }
}

void Form20::Command7_Click()
{
    playlist::step(*this, 1, Command7, [this] { Text2.setText(QString()); }, [this] { replayEntry(); });
}

void Form20::Command9_Click()
{
    playlist::step(*this, -1, Command9, [this] { Text2.setText(QString()); }, [this] { replayEntry(); });
}

void Form20::replayEntry()
{
    MediaPlayer1.Stop();
    loadAndPlay(entryPath(), File1.FileName());
}

void Form20::File1_OLEDragDrop(const QStringList &files)
{
    Text2.setText(QString());
    playlist::playDropped(files, [this](const QString &file) {
        MediaPlayer1.Stop();
        loadAndPlay(file, QFileInfo(file).fileName());
    });
}

void Form20::MediaPlayer1_PlayStateChange(int oldState, int newState)
{
    (void)oldState;
    (void)newState;
    try {
        MediaPlayer1.setRate(player2::PlaySpeed());
    } catch (const vx::RuntimeError &) {
    }
}

int Form20::drawOther(int current, int count)
{
    if (count <= 0)
        return -1;
    const bool inList = current >= 0 && current < count;
    if (inList && count == 1)
        return current;
    std::uniform_int_distribution<int> pick(0, count - (inList ? 2 : 1));
    const int r = pick(random_);
    return inList && r >= current ? r + 1 : r;
}

void Form20::MediaPlayer1_EndOfStream(int result)
{
    (void)result;
    try {
        if (Check1.Value() == 1) {
            loadAndPlay(entryPath(), File1.FileName());
        } else if (Check3.Value() == 1) {
            Text2.setText(QString());
            showEntryState();
            const int current = File1.ListIndex();
            const int r = drawOther(current, File1.ListCount());
            if (r < 0)
                return;
            // The only entry plays again; any other is chosen, which plays it.
            if (r != current)
                File1.setListIndex(r);
            loadAndPlay(vx::joinPath(Dir1.Path(), File1.List(r)), File1.FileName());
        } else if (Check2.Value() == 1) {
            MediaPlayer1.Stop();
        } else {
            const int next = File1.ListIndex() + 1;
            if (next >= File1.ListCount())
                return; // the last clip ended: playback stays stopped
            File1.setListIndex(next);
            showEntryState();
            loadAndPlay(entryPath(), File1.FileName());
        }
    } catch (const vx::RuntimeError &) {
    }
}
