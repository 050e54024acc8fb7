#include "platform/store/store.h"

#include "file.h"
#include "ini.h"
#include "lock.h"

#include "platform/core/errors.h"

#include <QDir>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace vx::store {

using namespace detail;

namespace {

QString configDir()
{
    // Relative values are invalid by the XDG rules and must be ignored.
    QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (dir.isEmpty() || !dir.startsWith(QLatin1Char('/')))
        dir = QDir::homePath() + QStringLiteral("/.config");
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

QString fileName(const QString &app)
{
    QString name = app;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return name + QStringLiteral(".ini");
}

struct Store {
    QString dir;
    QString path;
};

Store locate(const QString &app)
{
    const QString dir = configDir();
    return {dir, dir + QLatin1Char('/') + fileName(app)};
}

bool load(const QString &app, Doc &doc)
{
    QByteArray data;
    bool exists;
    if (readFile(native(locate(app).path), data, exists) != 0)
        return false;
    doc = Doc::parse(data);
    return true;
}

// Read, change and write back under the lock, so that a change merges with
// whatever another process committed last and never revives what it removed.
template <typename Change>
void update(const QString &app, bool deleting, Change change)
{
    if (app.isEmpty())
        failMissing(QStringLiteral("empty application name"));
    const Store store = locate(app);
    const QByteArray path = native(store.path);

    if (deleting) {
        // Nothing to delete: leave the folder alone rather than create it.
        struct stat st;
        if (::stat(path.constData(), &st) != 0) {
            if (errno == ENOENT || errno == ENOTDIR)
                failMissing(store.path);
            failErrno(errno, store.path);
        }
    } else {
        makeDir(store.dir);
    }

    const Fd lock = acquireLock(store.path + QStringLiteral(".lock"));
    QByteArray old;
    bool exists;
    if (const int problem = readFile(path, old, exists))
        failRead(problem, store.path);
    Doc doc = Doc::parse(old);
    change(doc);
    const QByteArray next = doc.bytes();

    removeStaleTemps(path);
    if (next == old)
        return;
    // Replacing by rename would get round the file's protection and split its
    // hard links: both refuse before anything is written.
    if (exists)
        checkReplaceable(path, store.path);
    struct stat st;
    const bool link = ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
    // An emptied store goes, unless a link leads to it: the link stays.
    if (next.isEmpty() && !link) {
        if (::unlink(path.constData()) != 0 && errno != ENOENT)
            failErrno(errno, store.path);
        syncDir(native(store.dir));
        return;
    }
    replaceFile(path, next);
}
} // namespace

QString StorePath(const QString &app)
{
    return locate(app).path;
}

QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def)
{
    Doc doc;
    if (!load(app, doc))
        return def;
    const Line *e = doc.find(section, key);
    return e ? e->value() : def;
}

void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value)
{
    if (section.isEmpty() || key.isEmpty())
        failMissing(QStringLiteral("empty section or key name"));
    update(app, false, [&](Doc &doc) { doc.set(section, key, value); });
}

void DeleteSetting(const QString &app, const QString &section, const QString &key)
{
    update(app, true, [&](Doc &doc) {
        if (!doc.removeKey(section, key))
            failMissing(section + QLatin1Char('/') + key);
    });
}

void DeleteSection(const QString &app, const QString &section)
{
    update(app, true, [&](Doc &doc) {
        if (!doc.removeSection(section))
            failMissing(section);
    });
}

void DeleteApplication(const QString &app)
{
    update(app, true, [&](Doc &doc) {
        if (!doc.hasSections())
            failMissing(app);
        doc.clear();
    });
}

QStringList Sections(const QString &app)
{
    Doc doc;
    return load(app, doc) ? doc.sectionNames() : QStringList();
}

QStringList Keys(const QString &app, const QString &section)
{
    Doc doc;
    return load(app, doc) ? doc.keyNames(section) : QStringList();
}

} // namespace vx::store
