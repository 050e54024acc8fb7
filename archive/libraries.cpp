#include "libraries.h"

#include "platform/archivers/loader/archivers.h"
#include "platform/dialogs/dialogs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QThread>

#include <exception>
#include <thread>

namespace archive {

namespace {

int g_calls = 0;

// Runs a library call on a worker thread while the window thread keeps
// painting and answering assistive technology (user input waits), so that a
// large archive, or a file that takes long to read, never freezes a window.
template <class R, class F>
R offWindowThread(F fn)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || g_calls > 0)
        return fn();
    ++g_calls;
    R result {};
    std::exception_ptr error;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            result = fn();
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    --g_calls;
    if (error)
        std::rethrow_exception(error);
    return result;
}

} // namespace

bool CallInProgress() { return g_calls > 0; }

const LibraryRow &library(Lib id)
{
    static const QList<LibraryRow> rows = {
        {Lib::Unlha32, QStringLiteral("unlha32.so"), QStringLiteral("Unlha"), QStringLiteral("Unlha"),
         QStringLiteral("Unlha32.DLLが見つかりません!!"), true},
        {Lib::Unzip32, QStringLiteral("unzip32.so"), QStringLiteral("UnZip"), QStringLiteral("UnZip"),
         QStringLiteral("UNZIP32.DLLが見つかりません!!"), true},
        {Lib::Zip32j, QStringLiteral("zip32j.so"), QStringLiteral("Zip"), QStringLiteral("Zip"), QString(), false},
        {Lib::Cab32, QStringLiteral("cab32.so"), QStringLiteral("Cab"), QStringLiteral("Cab"),
         QStringLiteral("CAB32.DLLが見つかりません!!"), true},
        {Lib::Ungca32, QStringLiteral("ungca32.so"), QStringLiteral("UnGCA"), QStringLiteral("UnGCA"),
         QStringLiteral("UnGCA32.DLLが見つかりません!!"), false},
        {Lib::Unarj32j, QStringLiteral("unarj32j.so"), QStringLiteral("Unarj"), QStringLiteral("Unarj"),
         QStringLiteral("UNARJ32J.DLLが見つかりません!!"), false},
        {Lib::Unrar32, QStringLiteral("unrar32.so"), QStringLiteral("Unrar"), QStringLiteral("Unrar"),
         QStringLiteral("UNRAR32.DLLが見つかりません!!"), false},
        {Lib::Unrar, QStringLiteral("unrar.so"), QString(), QStringLiteral("Rar"),
         QStringLiteral("UNRAR.DLLが見つかりません!!"), false},
        {Lib::Tar32, QStringLiteral("tar32.so"), QStringLiteral("Tar"), QStringLiteral("Tar"),
         QStringLiteral("TAR32.DLLが見つかりません!!"), true},
        {Lib::Yz1, QStringLiteral("yz1.so"), QStringLiteral("Yz1"), QStringLiteral("Yz1"),
         QStringLiteral("Yz1.DLLが見つかりません!!"), true},
    };
    for (const LibraryRow &r : rows)
        if (r.id == id)
            return r;
    return rows.front();
}

bool PresenceCheck(Lib id)
{
    const LibraryRow &row = library(id);
    if (vx::archivers::backend().present(row.file.toStdString()))
        return true;
    vx::MsgBox(row.missing, vx::vbOKOnly | vx::vbCritical, QStringLiteral("Error"));
    return false;
}

bool PresenceCheckRar() { return PresenceCheck(Lib::Unrar32) && PresenceCheck(Lib::Unrar); }

std::optional<int32_t> ArchiverCall(Lib id, uint32_t owner, const QString &line)
{
    const LibraryRow &row = library(id);
    const std::string file = row.file.toStdString();
    const std::string entry = row.entry.toStdString();
    const std::string text = line.toStdString();
    return offWindowThread<std::optional<int32_t>>(
        [&] { return vx::archivers::backend().command(file, entry, owner, text); });
}

std::optional<int32_t> ArchiveCheck(Lib id, const QString &file)
{
    const LibraryRow &row = library(id);
    const std::string lib = row.file.toStdString();
    const std::string function = (row.prefix + QStringLiteral("CheckArchive")).toStdString();
    const std::string path = file.toStdString();
    return offWindowThread<std::optional<int32_t>>(
        [&] { return vx::archivers::backend().check(lib, function, path, 1); });
}

std::optional<int16_t> LibraryVersion(Lib id)
{
    const LibraryRow &row = library(id);
    return vx::archivers::backend().version(row.file.toStdString(), (row.prefix + QStringLiteral("GetVersion")).toStdString());
}

void ResultReport(Operation op, int32_t result)
{
    if (result != 0) {
        FailureReport(op);
        return;
    }
    vx::MsgBox(op == Operation::Extract ? QStringLiteral("解凍に成功しました。(^o^)") : QStringLiteral("圧縮に成功しました。(^o^)"),
               vx::vbOKOnly | vx::vbInformation, QStringLiteral("成功○"));
}

void FailureReport(Operation op)
{
    vx::MsgBox(op == Operation::Extract ? QStringLiteral("解凍に失敗しました。(T.T)") : QStringLiteral("圧縮に失敗しました。(T.T)"),
               vx::vbOKOnly | vx::vbCritical, QStringLiteral("失敗×"));
}

bool unsafeName(const QString &name)
{
    return name.contains(QLatin1Char('"')) || name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n'));
}

} // namespace archive
