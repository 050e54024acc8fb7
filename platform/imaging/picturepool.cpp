#include "picturepool.h"

#include "picture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <malloc.h>
#include <mutex>

#include <sys/mman.h>

namespace vx {

namespace {

// Large pictures reuse the memory of the last large one let go: fresh memory
// costs a fault per page, a good part of the decode time of a big photo, and a
// walk lets one picture go for each it loads. The spare is kept only while
// pictures follow each other within a second (a slide show is slower, and an
// idle viewer holds just what it shows). Blocks are mapped apart, so freeing
// one gives it back whole.
class BufferPool {
public:
    static constexpr size_t kMinBytes = size_t(16) << 20;
    static constexpr int kIdleMs = 1000;

    ~BufferPool() { unmap(idle_); }

    // A picture of `size` and `format` over pooled memory; null when the
    // picture is small or memory is short.
    QImage image(QSize size, QImage::Format format)
    {
        if (!size.isValid() || format == QImage::Format_Invalid)
            return {};
        const qsizetype bpl = ((qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32) * 4;
        const size_t bytes = size_t(bpl) * size_t(size.height());
        if (bytes < kMinBytes)
            return {};
        keep_ = true;
        Block block;
        Block unfit;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (idle_.data && idle_.capacity >= bytes && idle_.capacity / 2 <= bytes)
                std::swap(block, idle_);
            else
                std::swap(unfit, idle_); // never three large blocks at once
        }
        unmap(unfit);
        if (!block.data) {
            block = map(bytes);
            if (!block.data)
                return {};
        }
        auto *owned = new Block(block);
        return QImage(owned->data, size.width(), size.height(), bpl, format, &BufferPool::release, owned);
    }

    // Until the next large picture loads, nothing let go is kept.
    void dropIdle()
    {
        Block gone;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            std::swap(gone, idle_);
            keep_ = false;
        }
        unmap(gone);
    }

    // On the main thread: frees the spare once it has been idle long enough.
    void checkIdle();

    qint64 idleBytes()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return qint64(idle_.capacity);
    }

private:
    struct Block {
        uchar *data = nullptr;
        size_t capacity = 0;
        size_t mapped = 0;
    };

    static Block map(size_t bytes)
    {
        // Large pages are not asked for: where the system defragments for
        // them on the first touch, a fresh picture waits far longer.
        void *p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            return {};
        return {static_cast<uchar *>(p), bytes, bytes};
    }
    static void unmap(Block &b)
    {
        if (b.data)
            ::munmap(b.data, b.mapped);
        b = Block();
    }
    static void release(void *info);
    Block idle_;
    bool keep_ = false;
    QElapsedTimer idleClock_;
    std::mutex mutex_;
};

BufferPool &bufferPool()
{
    static BufferPool pool;
    return pool;
}

// The one timer of the idle check, on the main thread. The application owns
// it, so a check still pending at the end goes with the application.
QTimer *idleTimer()
{
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, [] { bufferPool().checkIdle(); });
    }
    return timer;
}

void BufferPool::release(void *info)
{
    auto *block = static_cast<Block *>(info);
    BufferPool &pool = bufferPool();
    bool kept = false;
    {
        const std::lock_guard<std::mutex> lock(pool.mutex_);
        // Keep the one let go last: the next picture of a folder is most
        // likely of its size.
        if (pool.keep_) {
            std::swap(*block, pool.idle_);
            pool.idleClock_.start();
            kept = true;
        }
    }
    unmap(*block);
    delete block;
    if (!kept)
        return;
    // Gone after a few idle seconds, checked on the main thread.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { idleTimer()->start(kIdleMs); }, Qt::QueuedConnection);
}

void BufferPool::checkIdle()
{
    Block gone;
    qint64 left = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!idle_.data)
            return;
        left = kIdleMs - idleClock_.elapsed();
        if (left <= 0)
            std::swap(gone, idle_);
    }
    if (left > 0)
        idleTimer()->start(int(left) + 10);
    unmap(gone);
}

} // namespace

namespace detail {

QImage pooledImage(QSize size, QImage::Format format)
{
    return bufferPool().image(size, format);
}

} // namespace detail

void ReleaseSparePictureMemory()
{
    bufferPool().dropIdle();
    // What smaller pictures left in the heap goes back too.
    ::malloc_trim(0);
}

qint64 SparePictureMemory()
{
    return bufferPool().idleBytes();
}

} // namespace vx
