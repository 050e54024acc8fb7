#include "thumbnailjob.h"

#include "platform/core/errors.h"

#include <QPromise>
#include <QRect>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>

#include <sys/resource.h>
#include <unistd.h>

namespace browser {

namespace {

// One pool for every build, its threads kept between builds. One core stays
// for the window thread.
QThreadPool &pool()
{
    static QThreadPool *p = [] {
        auto *tp = new QThreadPool;
        tp->setMaxThreadCount(thumbnailWorkerLimit());
        tp->setExpiryTimeout(30000);
        return tp;
    }();
    return *p;
}

// Qt's thread priorities do nothing under Linux's normal scheduling: the
// worker's own nice value puts it below the window thread (a nice step is
// about a quarter of the CPU share, so ten steps leave the workers a tenth
// of what the window thread gets when both want a core).
void lowerThisThread()
{
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    errno = 0;
    // The process id names the main thread, where the window runs.
    const int windowNice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    if (errno != 0)
        return;
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), std::min(windowNice + kWorkerNiceSteps, 19));
}

} // namespace

int thumbnailWorkerLimit() { return std::max(1, QThread::idealThreadCount() - 1); }

QRect thumbnailBox(QSize natural, int side)
{
    const double sw = natural.width();
    const double sh = natural.height();
    if (sw <= 0 || sh <= 0)
        return {};
    if (sw > sh) {
        const int h = static_cast<int>(sh / sw * side);
        return {0, (side - h) / 2, side, h};
    }
    const int w = static_cast<int>(sw / sh * side);
    return {(side - w) / 2, 0, w, side};
}

ThumbnailJob::ThumbnailJob(const QStringList &paths, int side)
{
    results_.reserve(static_cast<size_t>(paths.size()));
    for (const QString &path : paths) {
        // Shared: the pool copies the task.
        auto promise = std::make_shared<QPromise<vx::ReducedPicture>>();
        results_.push_back(promise->future());
        promise->start();
        pool().start([promise, path, side] {
            lowerThisThread();
            vx::ReducedPicture out;
            if (!promise->isCanceled()) {
                try {
                    out = vx::LoadReducedPicture(path, [side](QSize natural) { return thumbnailBox(natural, side).size(); });
                } catch (const vx::RuntimeError &) {
                } catch (const std::bad_alloc &) {
                }
            }
            promise->addResult(std::move(out));
            promise->finish();
        });
    }
}

ThumbnailJob::~ThumbnailJob()
{
    for (QFuture<vx::ReducedPicture> &f : results_)
        f.cancel();
}

} // namespace browser
