#include "picturerows.h"

namespace vx {

void PictureRows::waitFor(int rows) const
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return finished_ || rows_ >= rows; });
}

bool PictureRows::finished() const
{
    const std::lock_guard lock(mutex_);
    return finished_;
}

void PictureRows::arrived(int rows)
{
    {
        const std::lock_guard lock(mutex_);
        rows_ = rows;
    }
    changed_.notify_all();
}

void PictureRows::finish()
{
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
}

void PictureRows::abandon()
{
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
}

bool PictureRows::abandoned() const
{
    const std::lock_guard lock(mutex_);
    return abandoned_;
}

void PictureRows::waitWorker() const
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return workerDone_; });
}

void PictureRows::workerDone()
{
    {
        const std::lock_guard lock(mutex_);
        workerDone_ = true;
        finished_ = true;
    }
    changed_.notify_all();
}

} // namespace vx
