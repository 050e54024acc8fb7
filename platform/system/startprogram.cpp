#include "startprogram.h"

#include "platform/core/syserror.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace vx {

namespace {
// Why a start failed, in the user's words where we can tell.
QString reason(const QString &path, const QString &fallback)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません");
    if (info.isDir() || !info.isExecutable())
        return QStringLiteral("実行できるファイルではありません");
    return fallback;
}
} // namespace

bool startProgram(const QString &path, QString *why)
{
    QString failure;
    if (path.isEmpty()) {
        failure = QStringLiteral("パスが空です");
    } else if (!QDir::isAbsolutePath(path)) {
        // A bare name would be looked for on the search path, a relative one
        // from wherever we happen to run: neither is the file registered.
        failure = QStringLiteral("フルパスではありません");
    } else {
        // Started detached: the child is re-parented at once, so nothing waits
        // and no process is left behind. A failed exec is reported back.
        QProcess process;
        process.setProgram(path);
        process.setArguments({});
        if (process.startDetached())
            return true;
        failure = reason(path, systemReasonOfText(process.errorString()));
    }
    if (why)
        *why = failure;
    return false;
}

} // namespace vx
