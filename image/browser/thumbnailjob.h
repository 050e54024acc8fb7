#pragma once
// One build's decoding: every picture of the list read reduced to a
// thumbnail's box on worker threads, started in list order. The window takes
// the results in list order on its own thread. Workers hold only their paths
// and their results, never the window: a job dropped mid-build leaves nothing
// behind that could touch a window gone since.
#include "platform/imaging/reducedpicture.h"

#include <QFuture>
#include <QStringList>

#include <vector>

namespace browser {

class ThumbnailJob {
public:
    // `side`: the square the thumbnails are drawn in, in pixels.
    ThumbnailJob(const QStringList &paths, int side);
    // Cancels what has not started; decodes under way end on their own.
    ~ThumbnailJob();
    ThumbnailJob(const ThumbnailJob &) = delete;
    ThumbnailJob &operator=(const ThumbnailJob &) = delete;

    int count() const { return static_cast<int>(results_.size()); }
    // The i-th picture's result; an empty image for a file that could not be
    // read as a picture.
    QFuture<vx::ReducedPicture> result(int i) const { return results_[static_cast<size_t>(i)]; }

private:
    std::vector<QFuture<vx::ReducedPicture>> results_;
};

// At most this many pictures decode at once (one core stays for the window
// thread); the decoding threads run kWorkerNiceSteps nice steps below it.
int thumbnailWorkerLimit();
inline constexpr int kWorkerNiceSteps = 10;

// The box a picture of `natural` size takes in a square of `side` pixels:
// the long side fills the square, the short side is centred.
QRect thumbnailBox(QSize natural, int side);

} // namespace browser
