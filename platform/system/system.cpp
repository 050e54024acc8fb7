#include "system.h"

#include "platform/core/instancelock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/program.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <map>
#include <vector>

namespace vx {

namespace {
QString &appPathStore()
{
    static QString p;
    return p;
}
std::unique_ptr<InstanceLock> &lockStore()
{
    static std::unique_ptr<InstanceLock> l;
    return l;
}
std::unique_ptr<ShellDriver> &shellStore()
{
    static std::unique_ptr<ShellDriver> d;
    return d;
}
std::vector<qint64> &helpViewers()
{
    static std::vector<qint64> v;
    return v;
}

// A file manager that takes longer than this to answer is taken for none.
constexpr int kAnswerMs = 5000;

class RealShell : public ShellDriver {
public:
    void open(const QString &target, Outcome done) override
    {
        QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
        if (target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
            url = QUrl(target);
        // The desktop's handler, watched: it ends with failure when no program
        // takes the address or the one it started failed.
        const QString opener = findProgram(QStringLiteral("xdg-open"));
        if (opener.isEmpty()) {
            tellLater(done, false);
            return;
        }
        startWatched(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)}, &owner_,
                     std::move(done));
    }
    void showProperties(const QString &path, Outcome done) override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            tellLater(done, false);
            return;
        }
        QDBusMessage msg = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
        msg << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(msg, kAnswerMs), &owner_);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [done](QDBusPendingCallWatcher *w) {
                             w->deleteLater();
                             if (done)
                                 done(!w->isError());
                         });
    }
    qint64 start(const QString &program, const QStringList &args, Outcome done) override
    {
        // Forget programs that have ended meanwhile.
        std::erase_if(procs_, [](const auto &entry) { return entry.second.isNull(); });
        const qint64 h = ++next_;
        procs_[h] = startWatched(program, args, &owner_, std::move(done));
        return h;
    }
    void stop(qint64 handle) override
    {
        const auto it = procs_.find(handle);
        if (it == procs_.end())
            return;
        const QPointer<QProcess> p = it->second;
        procs_.erase(it);
        if (!p)
            return;
        // Ended on purpose: not a failure to report.
        p->disconnect();
        if (p->state() == QProcess::NotRunning) {
            p->deleteLater();
            return;
        }
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        p->terminate();
        QTimer::singleShot(2000, p, [p] {
            if (p)
                p->kill();
        });
    }
    QString findProgram(const QString &name) override
    {
        return QStandardPaths::findExecutable(name);
    }

private:
    // Parent of the programs still running and the calls still unanswered.
    QObject owner_;
    std::map<qint64, QPointer<QProcess>> procs_;
    qint64 next_ = 0;
};
} // namespace

QString AppPath()
{
    if (!appPathStore().isEmpty())
        return appPathStore();
    const QByteArray env = qgetenv("VX_PROGRAM_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

void setAppPath(const QString &folder) { appPathStore() = folder; }

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool PrevInstance(const QString &id)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    auto lock = std::make_unique<InstanceLock>();
    switch (lock->take(QFile::encodeName(joinPath(dir, id + QStringLiteral(".lock"))).toStdString(),
                       QCoreApplication::applicationName().toStdString(),
                       QSysInfo::machineHostName().toStdString())) {
    case InstanceLock::Result::Held: return true;
    // The lock folder cannot be used: run rather than refuse every start.
    case InstanceLock::Result::Failed: return false;
    case InstanceLock::Result::Taken: break;
    }
    lockStore() = std::move(lock);
    return false;
}

void releaseInstanceLock() { lockStore().reset(); }

ShellDriver &shellDriver()
{
    auto &d = shellStore();
    if (!d)
        d = makeRealShellDriver();
    return *d;
}

void setShellDriver(std::unique_ptr<ShellDriver> driver) { shellStore() = std::move(driver); }
std::unique_ptr<ShellDriver> makeRealShellDriver() { return std::make_unique<RealShell>(); }

bool HelpDisplayContents(const QString &helpFile, Outcome shown)
{
    const QString name = QDir::toNativeSeparators(helpFile);
    if (!QFileInfo(helpFile).isFile()) {
        MsgBox(QStringLiteral("ヘルプファイルが見つかりません。\n%1").arg(name), vbExclamation);
        tellLater(shown, false);
        return false;
    }
    // Help viewers of our own (closed with the program), then the desktop's
    // handler (not ours to close).
    struct Helper {
        QString exe;
        bool ours;
    };
    std::vector<Helper> helpers;
    ShellDriver &shell = shellDriver();
    for (const char *program : {"xchm", "kchmviewer", "xdg-open"}) {
        const QString exe = shell.findProgram(QString::fromLatin1(program));
        if (!exe.isEmpty())
            helpers.push_back({exe, qstrcmp(program, "xdg-open") != 0});
    }
    const QString noHelper = QStringLiteral("ヘルプを表示するプログラムが見つかりません。\n%1").arg(name);
    if (helpers.empty()) {
        MsgBox(noHelper, vbExclamation);
        tellLater(shown, false);
        return false;
    }
    tryInTurn(
        static_cast<int>(helpers.size()),
        [helpers, helpFile](int i, Outcome next) {
            const qint64 h = shellDriver().start(helpers[i].exe, {helpFile}, std::move(next));
            if (helpers[i].ours)
                helpViewers().push_back(h);
        },
        sayWhenNot(noHelper, std::move(shown)));
    return true;
}

Outcome sayWhenNot(const QString &message, Outcome shown)
{
    return [message, shown = std::move(shown)](bool ok) {
        if (!ok)
            dispatch([&message] { MsgBox(message, vbExclamation); });
        if (shown)
            shown(ok);
    };
}

void ShellOpen(const QString &target, Outcome shown)
{
    shellDriver().open(target, sayWhenNot(QStringLiteral("開くことができませんでした。\n%1")
                                              .arg(QDir::toNativeSeparators(target)),
                                          std::move(shown)));
}

void ShowFileProperties(const QString &path, Outcome shown)
{
    shellDriver().showProperties(
        path, sayWhenNot(QStringLiteral("プロパティを表示できませんでした。\n%1").arg(QDir::toNativeSeparators(path)),
                         std::move(shown)));
}

void HelpCloseAll()
{
    auto viewers = std::move(helpViewers());
    helpViewers().clear();
    for (qint64 h : viewers)
        shellDriver().stop(h);
}

} // namespace vx
