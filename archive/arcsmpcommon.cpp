#include "arcsmpcommon.h"

#include "platform/core/errors.h"

#include <QDir>
#include <QStandardPaths>

namespace ArcsmpCommon {

QString SplitArchivePath(const QString &path, QString &baseName, QString &fileName)
{
    baseName.clear();
    fileName.clear();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        vx::raise(vx::err::InvalidCall);
    fileName = path.mid(slash + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    baseName = dot < 0 ? fileName : fileName.left(dot);
    return path.left(slash + 1);
}

QString StripExtension(const QString &text)
{
    if (text.isEmpty())
        vx::raise(vx::err::InvalidCall);
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    // Only a dot inside the file name, after its first character, counts.
    if (dot <= slash + 1)
        return text;
    return text.left(dot);
}

QString PathSeparatorFor(const QString &text)
{
    return text.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
}

} // namespace ArcsmpCommon

namespace mdlDesktop {

QString GetDesktopPath()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (path.isEmpty())
        path = QDir::homePath() + QStringLiteral("/Desktop");
    QDir().mkpath(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace mdlDesktop
