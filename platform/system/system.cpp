#include "system.h"

#include "platform/core/instancelock.h"
#include "platform/dialogs/dialogs.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QProcess>
#include <QStandardPaths>
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

class RealShell : public ShellDriver {
public:
    ~RealShell() override
    {
        for (auto &[h, p] : procs_) {
            p->disconnect();
            delete p;
        }
    }
    bool open(const QString &target) override
    {
        QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
        if (target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
            url = QUrl(target);
        return QDesktopServices::openUrl(url);
    }
    bool showProperties(const QString &path) override
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
        msg << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return false;
        const QDBusMessage reply = bus.call(msg, QDBus::Block, 3000);
        return reply.type() == QDBusMessage::ReplyMessage;
    }
    qint64 start(const QString &program, const QStringList &args) override
    {
        // Forget programs the user has closed meanwhile.
        for (auto it = procs_.begin(); it != procs_.end();) {
            if (it->second->state() == QProcess::NotRunning) {
                delete it->second;
                it = procs_.erase(it);
            } else {
                ++it;
            }
        }
        auto *p = new QProcess();
        p->setProgram(program);
        p->setArguments(args);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start();
        if (!p->waitForStarted(3000)) {
            delete p;
            return 0;
        }
        const qint64 h = ++next_;
        procs_[h] = p;
        return h;
    }
    void stop(qint64 handle) override
    {
        auto it = procs_.find(handle);
        if (it == procs_.end())
            return;
        QProcess *p = it->second;
        procs_.erase(it);
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(2000)) {
                p->kill();
                p->waitForFinished(1000);
            }
        }
        delete p;
    }
    QString findProgram(const QString &name) override
    {
        return QStandardPaths::findExecutable(name);
    }

private:
    std::map<qint64, QProcess *> procs_;
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

bool HelpDisplayContents(const QString &helpFile)
{
    if (!QFileInfo(helpFile).isFile()) {
        MsgBox(QStringLiteral("ヘルプファイルが見つかりません。\n%1").arg(QDir::toNativeSeparators(helpFile)),
               vbExclamation);
        return false;
    }
    ShellDriver &shell = shellDriver();
    for (const char *viewer : {"xchm", "kchmviewer"}) {
        const QString exe = shell.findProgram(QString::fromLatin1(viewer));
        if (exe.isEmpty())
            continue;
        if (const qint64 h = shell.start(exe, {helpFile})) {
            helpViewers().push_back(h);
            return true;
        }
    }
    // No viewer of our own to start: hand it to the desktop (not closed later).
    if (shell.open(helpFile))
        return true;
    MsgBox(QStringLiteral("ヘルプを表示するプログラムが見つかりません。\n%1").arg(QDir::toNativeSeparators(helpFile)),
           vbExclamation);
    return false;
}

void HelpCloseAll()
{
    auto viewers = std::move(helpViewers());
    helpViewers().clear();
    for (qint64 h : viewers)
        shellDriver().stop(h);
}

} // namespace vx
