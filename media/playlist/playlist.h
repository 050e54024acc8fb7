#pragma once
// The playlist steps the second and third players share: each plays the
// entries of its file list, with next and previous buttons (Command7,
// Command9), a position label (Label2) and dropped files; how an entry plays
// is the player's own.
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/system/system.h"

#include <QStringList>

#include <functional>

namespace playlist {

// The chosen entry's path.
template <class P>
QString entryPath(const P &p)
{
    return vx::joinPath(p.Dir1.Path(), p.File1.FileName());
}

// The next and previous buttons and the position ("2/5") of the chosen entry.
template <class P>
void showEntryState(P &p)
{
    const int index = p.File1.ListIndex();
    const int count = p.File1.ListCount();
    p.Command9.setEnabled(index != 0);
    p.Command7.setEnabled(index + 1 != count);
    p.Label2.setCaption(QStringLiteral("%1/%2").arg(index + 1).arg(count));
}

// Next (`delta` 1, `button` Command7) or previous (-1, Command9): the entry
// beside is chosen, which plays it; at the list's end the button goes off,
// elsewhere `replay` plays the chosen entry once more from its start.
// `leaving` runs once the move is sure.
template <class P>
void step(P &p, int delta, vx::CommandButton &button, const std::function<void()> &leaving,
          const std::function<void()> &replay)
{
    const int target = p.File1.ListIndex() + delta;
    // Still enabled from an earlier folder, past the end of this one.
    if (target < 0 || target >= p.File1.ListCount())
        return;
    leaving();
    p.File1.setListIndex(target);
    if (target == (delta > 0 ? p.File1.ListCount() - 1 : 0)) {
        button.setEnabled(false);
        return;
    }
    button.setEnabled(true);
    try {
        replay();
    } catch (const vx::RuntimeError &) {
    }
}

// Each dropped file is played in turn; the first the player refuses ends the
// drop with the message.
inline void playDropped(const QStringList &files, const std::function<void(const QString &)> &play)
{
    for (const QString &file : files) {
        try {
            play(file);
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応しているメディアファイルをドロップしてください"));
            return;
        }
    }
}

// The position label's click reads the folder and file lists again.
template <class P>
void refreshLists(P &p)
{
    p.Dir1.Refresh();
    p.File1.Refresh();
}

// The drive list moves the folder list to the drive's root.
template <class P>
void followDrive(P &p)
{
    try {
        p.Dir1.setPath(p.Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

} // namespace playlist
