#pragma once
// A large photo decoded on a worker thread, rows from the top: the window can
// paint the rows it shows while the rest arrives. Readers of the pixels wait
// (waitFor) for the rows they need; the picture is whole once finished. The
// worker stops when the last reader lets the picture go.
#include <condition_variable>
#include <mutex>

namespace vx {

class PictureRows {
public:
    explicit PictureRows(int height) : height_(height) {}
    PictureRows(const PictureRows &) = delete;
    PictureRows &operator=(const PictureRows &) = delete;

    int height() const { return height_; }
    // Blocks until the first `rows` rows arrived or the decode ended.
    void waitFor(int rows) const;
    void waitAll() const { waitFor(height_); }
    bool finished() const;

    // The holder lets the picture go: the worker stops at its next rows, and
    // waitWorker returns once it let go of the pixels too.
    void abandon();
    bool abandoned() const;
    void waitWorker() const;

    // The worker's side.
    void arrived(int rows);
    void finish();
    void workerDone();

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    const int height_;
    int rows_ = 0;
    bool finished_ = false;
    bool abandoned_ = false;
    bool workerDone_ = false;
};

} // namespace vx
