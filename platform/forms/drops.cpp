#include "drops.h"

#include "program.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace vx {

QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data)
        return files;
    for (const QUrl &u : data->urls())
        if (u.isLocalFile())
            files << u.toLocalFile();
    return files;
}

void acceptFileDrag(QDropEvent *e, const FileDropHandler &handler)
{
    if (handler && !droppedFiles(e->mimeData()).isEmpty())
        e->acceptProposedAction();
    else
        e->ignore();
}

void deliverFileDrop(QDropEvent *e, const FileDropHandler &handler)
{
    const QStringList files = droppedFiles(e->mimeData());
    if (!handler || files.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    dispatch([&] { handler(files); });
}

} // namespace vx
