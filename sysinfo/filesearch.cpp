#include "filesearch.h"

#include "sysinfo/findfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>

namespace sysinfo {

SearchRunner::SearchRunner(QObject *parent) : QObject(parent)
{
    // The end of the program ends a search too.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &SearchRunner::cancel);
}

SearchRunner::~SearchRunner() { cancel(); }

void SearchRunner::start(const QString &folder, const QString &pattern, bool recurse)
{
    cancel();
    cancel_ = false;
    running_ = true;
    const quint64 gen = ++generation_;
    {
        std::lock_guard lock(folderMutex_);
        folder_ = QFile::encodeName(basFindFile::AddBackslash(folder));
    }
    thread_ = std::thread([this, gen, folder, pattern, recurse] {
        basFindFile::SearchSink sink;
        sink.found = [this, gen](vx::EntryBatch &&paths) {
            QMetaObject::invokeMethod(
                this, [this, gen, p = std::move(paths)]() mutable { deliver(gen, std::move(p)); },
                Qt::QueuedConnection);
        };
        sink.folder = [this](const QByteArray &f) {
            std::lock_guard lock(folderMutex_);
            folder_ = f;
        };
        if (basFindFile::Search(folder, pattern, recurse, cancel_, sink))
            QMetaObject::invokeMethod(this, [this, gen] { finish(gen); }, Qt::QueuedConnection);
    });
}

void SearchRunner::cancel()
{
    // Anything the old search still has queued is dropped by its number.
    ++generation_;
    running_ = false;
    if (thread_.joinable()) {
        cancel_ = true;
        thread_.join();
    }
}

QString SearchRunner::currentFolder() const
{
    QByteArray f;
    {
        std::lock_guard lock(folderMutex_);
        f = folder_;
    }
    return QFile::decodeName(f);
}

void SearchRunner::deliver(quint64 generation, vx::EntryBatch paths)
{
    if (generation == generation_ && Found)
        Found(std::move(paths));
}

void SearchRunner::finish(quint64 generation)
{
    if (generation != generation_)
        return;
    running_ = false;
    if (thread_.joinable())
        thread_.join();
    if (Finished)
        Finished();
}

} // namespace sysinfo
