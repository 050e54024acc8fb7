#pragma once
// Files dropped on windows and controls.
#include <QStringList>

#include <functional>

class QMimeData;
class QDropEvent;

namespace vx {

// Local files of a drag-and-drop (in the order given).
QStringList droppedFiles(const QMimeData *data);
using FileDropHandler = std::function<void(const QStringList &)>;
// A drag (enter or move) of local files is accepted only where a handler waits.
void acceptFileDrag(QDropEvent *e, const FileDropHandler &handler);
// Hands the dropped local files to the handler.
void deliverFileDrop(QDropEvent *e, const FileDropHandler &handler);

} // namespace vx
