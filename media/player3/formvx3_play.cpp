// FormVX3's playlist: an entry chosen, next and previous with their replay,
// and drops.
#include "formvx3.h"

#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

QString FormVX3::entryPath() const
{
    return vx::joinPath(Dir1.Path(), File1.FileName());
}

void FormVX3::replay(const QString &path)
{
    RealAudio1.DoStop();
    RealAudio1.setSource(path);
    RealAudio1.DoPlay();
}

void FormVX3::File1_Click()
{
    const int index = File1.ListIndex();
    const int count = File1.ListCount();
    Command9.setEnabled(index != 0);
    Command7.setEnabled(index + 1 != count);
    Label2.setCaption(QStringLiteral("%1/%2").arg(index + 1).arg(count));
    try {
        RealAudio1.setSource(entryPath());
        RealAudio1.DoPlay();
    } catch (const vx::RuntimeError &) {
        // A file the player refuses: it stays silent.
    }
}

void FormVX3::Command7_Click()
{
    const int next = File1.ListIndex() + 1;
    // Still enabled from an earlier folder, past the end of this one.
    if (next < 0 || next >= File1.ListCount())
        return;
    File1.setListIndex(next);
    if (next == File1.ListCount() - 1) {
        Command7.setEnabled(false);
        return;
    }
    Command7.setEnabled(true);
    // The entry the click started plays once more from its start.
    try {
        replay(entryPath());
    } catch (const vx::RuntimeError &) {
    }
}

void FormVX3::Command9_Click()
{
    const int previous = File1.ListIndex() - 1;
    if (previous < 0 || previous >= File1.ListCount())
        return;
    File1.setListIndex(previous);
    if (previous == 0) {
        Command9.setEnabled(false);
        return;
    }
    Command9.setEnabled(true);
    try {
        replay(entryPath());
    } catch (const vx::RuntimeError &) {
    }
}

void FormVX3::File1_OLEDragDrop(const QStringList &files)
{
    for (const QString &file : files) {
        try {
            replay(file);
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応しているメディアファイルをドロップしてください"));
            return;
        }
    }
}
