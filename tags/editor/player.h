#pragma once
// What the tag editor reads and drives of the second media player: its
// playlist (folder, entry, index, count), its status text, next button and
// lists, its player control, and the play speed of its settings window. The
// player window fills this in; the editor works without one.
#include <QString>

#include <functional>

namespace tags {

class TagPlayer {
public:
    virtual ~TagPlayer() = default;
    // Playlist: the folder list's path, the selected entry's name, its index
    // (-1 for none) and the entry count.
    virtual QString folderPath() = 0;
    virtual QString fileName() = 0;
    virtual int listIndex() = 0;
    virtual int listCount() = 0;
    // Selects an entry; the player takes it up as a click on the list would.
    virtual void setListIndex(int index) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setNextEnabled(bool on) = 0;
    // Drive, folder and file lists.
    virtual void setListsEnabled(bool on) = 0;
    virtual void stop() = 0;
    virtual void setMediaFileName(const QString &path) = 0;
    virtual void setRate(double rate) = 0;
    // 8 clip title, 9 clip author.
    virtual QString mediaInfoString(int which) = 0;
    virtual void play() = 0;
    // The play-speed box's text.
    virtual QString playSpeedText() = 0;
};

// Hands the editor the player (loading it when need be); nullptr for none.
using PlayerSource = std::function<TagPlayer *()>;
void setPlayerSource(PlayerSource source);
TagPlayer *player();

} // namespace tags
