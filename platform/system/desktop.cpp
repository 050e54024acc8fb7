#include "desktop.h"

#include "platform/core/savefile.h"
#include "platform/core/userfileqt.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <unistd.h>

namespace vx {

namespace {

struct Candidate {
    const char *desktop; // "" any desktop
    std::vector<const char *> argv;
};

// Ordered by desktop; within one desktop the newer tool first.
const std::vector<Candidate> &table(DesktopTool tool)
{
    static const std::vector<Candidate> about = {
        {"GNOME", {"gnome-control-center", "info-overview"}},
        {"KDE", {"kinfocenter"}},
        {"XFCE", {"xfce4-about"}},
        {"MATE", {"mate-about"}},
        {"X-Cinnamon", {"cinnamon-settings", "info"}},
        {"LXQt", {"lxqt-about"}},
    };
    static const std::vector<Candidate> files = {
        {"", {"xdg-open", "@HOME"}},
    };
    static const std::vector<Candidate> appearance = {
        {"GNOME", {"gnome-control-center", "background"}},
        {"KDE", {"systemsettings", "kcm_lookandfeel"}},
        {"KDE", {"systemsettings5", "kcm_lookandfeel"}},
        {"XFCE", {"xfce4-appearance-settings"}},
        {"MATE", {"mate-appearance-properties"}},
        {"X-Cinnamon", {"cinnamon-settings", "themes"}},
        {"LXQt", {"lxqt-config-appearance"}},
        {"", {"lxappearance"}},
    };
    static const std::vector<Candidate> power = {
        {"GNOME", {"gnome-control-center", "power"}},
        {"KDE", {"systemsettings", "kcm_powerdevilprofilesconfig"}},
        {"KDE", {"systemsettings5", "powerdevilprofilesconfig"}},
        {"XFCE", {"xfce4-power-manager-settings"}},
        {"MATE", {"mate-power-preferences"}},
        {"X-Cinnamon", {"cinnamon-settings", "power"}},
        {"LXQt", {"lxqt-config-powermanagement"}},
    };
    static const std::vector<Candidate> saver = {
        {"", {"xdg-screensaver", "activate"}},
    };
    // Each of these asks the user before anything is ended.
    static const std::vector<Candidate> shutdown = {
        {"GNOME", {"gnome-session-quit", "--power-off"}},
        {"KDE", {"qdbus", "org.kde.LogoutPrompt", "/LogoutPrompt", "promptShutDown"}},
        {"XFCE", {"xfce4-session-logout"}},
        {"MATE", {"mate-session-save", "--shutdown-dialog"}},
        {"X-Cinnamon", {"cinnamon-session-quit", "--power-off"}},
        {"LXQt", {"lxqt-leave"}},
    };
    switch (tool) {
    case DesktopTool::SystemAbout: return about;
    case DesktopTool::FileManager: return files;
    case DesktopTool::Appearance: return appearance;
    case DesktopTool::Power: return power;
    case DesktopTool::ScreenSaver: return saver;
    case DesktopTool::ShutdownPrompt: return shutdown;
    }
    return about;
}

QString dataHome()
{
    const QByteArray env = qgetenv("XDG_DATA_HOME");
    if (!env.isEmpty() && QDir::isAbsolutePath(QFile::decodeName(env)))
        return QFile::decodeName(env);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// Removes every entry of a folder (the folder stays); links are removed, not
// followed. "" on success.
QString emptyFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return QString();
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &e : entries) {
        bool ok;
        if (e.isDir() && !e.isSymLink())
            ok = QDir(e.filePath()).removeRecursively();
        else
            ok = QFile::remove(e.filePath());
        if (!ok)
            return e.filePath();
    }
    return QString();
}

class RealDesktopDriver : public DesktopDriver {
public:
    void launch(DesktopTool tool, Outcome done) override
    {
        // Each installed candidate in turn, until one neither fails to start
        // nor ends with failure (the screen saver command ends at once, the
        // others are windows that stay).
        std::vector<QStringList> found;
        for (QStringList argv : desktopCandidates(tool, QString::fromLocal8Bit(qgetenv("XDG_CURRENT_DESKTOP")))) {
            argv.first() = QStandardPaths::findExecutable(argv.first());
            if (!argv.first().isEmpty())
                found.push_back(std::move(argv));
        }
        tryInTurn(
            static_cast<int>(found.size()),
            [this, found](int i, Outcome next) {
                startWatched(found[i].first(), found[i].mid(1), &owner_, std::move(next));
            },
            std::move(done));
    }

    QString emptyTrash() override
    {
        QStringList mounts;
        for (const QStorageInfo &s : QStorageInfo::mountedVolumes())
            if (s.isValid() && s.isReady() && !s.isReadOnly())
                mounts << s.rootPath();
        return emptyTrashFolders(dataHome() + QStringLiteral("/Trash"), mounts);
    }

    QString clearRecent() override { return clearRecentlyUsed(dataHome() + QStringLiteral("/recently-used.xbel")); }
    bool hasRecent() override { return recentlyUsedHasEntries(dataHome() + QStringLiteral("/recently-used.xbel")); }

private:
    // Parent of the tools still starting or running.
    QObject owner_;
};

std::unique_ptr<DesktopDriver> &slot()
{
    static std::unique_ptr<DesktopDriver> d;
    return d;
}

} // namespace

std::vector<QStringList> desktopCandidates(DesktopTool tool, const QString &currentDesktop)
{
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    auto argvOf = [](const Candidate &c) {
        QStringList argv;
        for (const char *a : c.argv)
            argv << (qstrcmp(a, "@HOME") == 0 ? QDir::homePath() : QString::fromLatin1(a));
        return argv;
    };
    std::vector<QStringList> mine;
    std::vector<QStringList> others;
    for (const Candidate &c : table(tool)) {
        const QString d = QString::fromLatin1(c.desktop);
        if (d.isEmpty() || desktops.contains(d, Qt::CaseInsensitive))
            mine.push_back(argvOf(c));
        else
            others.push_back(argvOf(c));
    }
    // Another desktop's tool is better than none, but the shut-down prompt of
    // a desktop that is not running would not answer.
    if (tool != DesktopTool::ShutdownPrompt)
        mine.insert(mine.end(), others.begin(), others.end());
    return mine;
}

QString emptyTrashFolders(const QString &home, const QStringList &mounts)
{
    QStringList trashes{home};
    const QString uid = QString::number(::getuid());
    for (const QString &m : mounts) {
        const QString root = m.endsWith(QLatin1Char('/')) ? m : m + QLatin1Char('/');
        trashes << root + QStringLiteral(".Trash-") + uid << root + QStringLiteral(".Trash/") + uid;
    }
    for (const QString &t : trashes) {
        const QFileInfo fi(t);
        // A link where a Trash should be is not ours to follow.
        if (!fi.exists() || fi.isSymLink() || !fi.isDir())
            continue;
        for (const char *sub : {"files", "info", "expunged"}) {
            const QString f = t + QLatin1Char('/') + QLatin1String(sub);
            if (QFileInfo(f).isSymLink())
                continue;
            const QString failed = emptyFolder(f);
            if (!failed.isEmpty())
                return failed;
        }
        const QString sizes = t + QStringLiteral("/directorysizes");
        if (QFileInfo::exists(sizes) && !QFile::remove(sizes))
            return sizes;
    }
    return QString();
}

QString clearRecentlyUsed(const QString &xbelPath)
{
    if (!QFileInfo::exists(xbelPath))
        return QString();
    // Replaced through the one save step: the list keeps its mode, and a
    // failure leaves it whole.
    const SaveResult r = saveUserFile(xbelPath, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                "<xbel version=\"1.0\"\n"
                                                "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
                                                "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
                                                "></xbel>\n");
    return r.ok() ? QString() : xbelPath;
}

bool recentlyUsedHasEntries(const QString &xbelPath)
{
    QByteArray data;
    switch (readUserFile(xbelPath, qint64(256) << 20, data)) {
    case UserFileStatus::Ok: return data.contains("<bookmark");
    case UserFileStatus::Missing: return false;
    default: return true;
    }
}

DesktopDriver &desktopDriver()
{
    auto &d = slot();
    if (!d)
        d = std::make_unique<RealDesktopDriver>();
    return *d;
}

void setDesktopDriver(std::unique_ptr<DesktopDriver> driver) { slot() = std::move(driver); }

} // namespace vx
