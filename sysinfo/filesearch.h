#pragma once
// Runs one file search at a time off the window thread. Found paths reach the
// window in batches through its event loop; the folder being read is there to
// be polled. A new start or the runner's end cancels the search in progress,
// and nothing of a cancelled search arrives afterwards.
#include "platform/forms/virtuallist.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace sysinfo {

class SearchRunner : public QObject {
    Q_OBJECT
public:
    explicit SearchRunner(QObject *parent = nullptr);
    ~SearchRunner() override;

    // Called on the window thread.
    std::function<void(vx::EntryBatch &&)> Found;
    std::function<void()> Finished;

    void start(const QString &folder, const QString &pattern, bool recurse);
    // Stops the search in progress and waits for its thread.
    void cancel();
    bool running() const { return running_; }
    // The folder being searched.
    QString currentFolder() const;

private:
    void deliver(quint64 generation, vx::EntryBatch paths);
    void finish(quint64 generation);

    std::thread thread_;
    std::atomic<bool> cancel_{false};
    quint64 generation_ = 0;
    bool running_ = false;
    mutable std::mutex folderMutex_;
    QByteArray folder_;
};

} // namespace sysinfo
