#include "spihost.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dlfcn.h>

namespace vx {

namespace {

QString &folder()
{
    static QString f;
    return f;
}

// Handles of the files loaded so far, by the name they were asked for.
QHash<QString, void *> &loaded()
{
    static QHash<QString, void *> h;
    return h;
}

QString programFolder()
{
    static const QString f = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    return f;
}

} // namespace

void setPluginFolder(const QString &f)
{
    folder() = f;
    loaded().clear(); // the handles stay loaded; only the lookup changes
}

void *BindPluginEntry(const QString &fileName, const char *entry)
{
    void *handle = loaded().value(fileName, nullptr);
    if (!handle) {
        if (!folder().isEmpty()) {
            handle = ::dlopen(QFile::encodeName(folder() + QLatin1Char('/') + fileName).constData(),
                              RTLD_LAZY | RTLD_LOCAL);
        } else {
            // The program's folder first, as its run path says: the linker
            // would take the run path of whoever calls dlopen, which a
            // sanitizer's interceptor replaces with its own.
            const QString local = programFolder() + QLatin1Char('/') + fileName;
            if (QFileInfo(local).isFile())
                handle = ::dlopen(QFile::encodeName(local).constData(), RTLD_LAZY | RTLD_LOCAL);
            if (!handle)
                handle = ::dlopen(QFile::encodeName(fileName).constData(), RTLD_LAZY | RTLD_LOCAL);
        }
        if (!handle) {
            // Read the reason once so the loader lets go of its text.
            if (qEnvironmentVariableIsSet("VX_PLUGIN_DEBUG"))
                qWarning("%s", ::dlerror());
            else
                (void)::dlerror();
            (void)::dlerror();
            return nullptr;
        }
        loaded().insert(fileName, handle);
    }
    return ::dlsym(handle, entry);
}

} // namespace vx
