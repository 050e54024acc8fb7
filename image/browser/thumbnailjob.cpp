#include "thumbnailjob.h"

#include "platform/core/errors.h"

#include <QPromise>
#include <QRect>
#include <QThread>
#include <QThreadPool>

#include <memory>
#include <new>

namespace browser {

namespace {

// One pool for every build, its threads kept between builds.
QThreadPool &pool()
{
    static QThreadPool *p = [] {
        auto *tp = new QThreadPool;
        tp->setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 2, 8));
        tp->setExpiryTimeout(30000);
        return tp;
    }();
    return *p;
}

} // namespace

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
