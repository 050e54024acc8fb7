#pragma once
// The editor's recovery save, the file search's list export and the system
// information window's browse button show the file dialogs through these two
// procedures. The filter is given as pairs of description and pattern, each
// item ended by a NUL ("テキストファイル(*.txt)", NUL, "*.txt", NUL).
#include <QString>

namespace vx {
class Form;
}

namespace suite {

// The save dialog "ファイルを保存する": a new name may be chosen, replacing a file
// is confirmed. The chosen path, or "" when cancelled.
QString ShowSaveFileDialog(vx::Form *owner, const QString &filter);

// The open dialog "ファイルを開く" with a picture preview pane; only an existing
// file can be chosen. The chosen path, or "" when cancelled.
QString ShowOpenFileDialogPreview(vx::Form *owner, const QString &filter);

// "desc", NUL, "pattern", NUL, ... as the dialog driver's "desc|pattern|...".
QString filterFromPairs(const QString &pairs);

} // namespace suite
