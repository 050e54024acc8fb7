#include "filedialogs.h"

#include "platform/dialogs/dialogs.h"

namespace suite {

namespace {
QString show(vx::Form *owner, const QString &filter, bool save)
{
    vx::FileDialogRequest req;
    req.save = save;
    req.preview = !save;
    req.title = save ? QStringLiteral("ファイルを保存する") : QStringLiteral("ファイルを開く");
    req.filter = filterFromPairs(filter);
    req.owner = owner;
    const auto chosen = vx::dialogDriver().fileDialog(req);
    if (!chosen || chosen->isEmpty())
        return QString();
    // The path ends at its first NUL, as a C buffer would.
    const QString path = chosen->first();
    const qsizetype nul = path.indexOf(QChar(0));
    return nul < 0 ? path : path.left(nul);
}
} // namespace

QString filterFromPairs(const QString &pairs)
{
    QStringList items = pairs.split(QChar(0));
    // The closing NUL leaves an empty last item; a missing one loses nothing.
    while (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    if (items.size() % 2 != 0)
        items.append(QStringLiteral("*.*"));
    return items.join(QLatin1Char('|'));
}

QString ShowSaveFileDialog(vx::Form *owner, const QString &filter)
{
    return show(owner, filter, true);
}

QString ShowOpenFileDialogPreview(vx::Form *owner, const QString &filter)
{
    return show(owner, filter, false);
}

} // namespace suite
