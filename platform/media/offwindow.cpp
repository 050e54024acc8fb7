#include "offwindow.h"

#include "mci.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace vx::media {

namespace {

// While the window thread waits for a device, timers that start handlers
// (the windows' own, a button pressed through assistive technology) are held
// back: a tick left unanswered comes again at its next interval, after the
// wait. Painting, layout, the window system and assistive technology's
// questions go on.
class HoldTimers : public QObject {
public:
    HoldTimers() { QCoreApplication::instance()->installEventFilter(this); }
    ~HoldTimers() override { QCoreApplication::instance()->removeEventFilter(this); }
    HoldTimers(const HoldTimers &) = delete;
    HoldTimers &operator=(const HoldTimers &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::Timer
               && (qobject_cast<QTimer *>(watched) || qobject_cast<QAbstractButton *>(watched));
    }
};

int g_waits = 0; // waits on the window thread's stack
// How long the window thread waits as a plain call before it goes on
// painting while it waits: a quick open ends within it.
constexpr int kQuietWaitMs = 20;

} // namespace

int waitOffWindow(const std::function<int()> &work, std::atomic<bool> &stop, const std::shared_ptr<bool> &cancel)
{
    QCoreApplication *app = QCoreApplication::instance();
    QAbstractEventDispatcher *dispatcher =
        app && QThread::currentThread() == app->thread() ? QAbstractEventDispatcher::instance() : nullptr;
    std::mutex lock;
    std::condition_variable doneChanged;
    bool done = false;
    int result = mci::NoError;
    std::thread worker([&] {
        const int r = work();
        {
            const std::lock_guard<std::mutex> hold(lock);
            result = r;
            done = true;
        }
        doneChanged.notify_all();
        if (dispatcher)
            dispatcher->wakeUp();
    });
    // Whatever leaves this function (an exception out of a handler run
    // meanwhile too) ends the work first.
    struct Join {
        std::thread &worker;
        std::atomic<bool> &stop;
        ~Join()
        {
            stop = true;
            worker.join();
        }
    } join{worker, stop};
    const auto isDone = [&] {
        const std::lock_guard<std::mutex> hold(lock);
        return done;
    };
    {
        // A quick open ends here, without a round of events.
        std::unique_lock<std::mutex> hold(lock);
        doneChanged.wait_for(hold, std::chrono::milliseconds(dispatcher ? kQuietWaitMs : INT_MAX),
                             [&done] { return done; });
    }
    if (!isDone()) {
        struct Depth {
            Depth() { ++g_waits; }
            ~Depth() { --g_waits; }
        };
        std::optional<HoldTimers> holding;
        if (g_waits == 0)
            holding.emplace();
        const Depth depth;
        while (!isDone()) {
            if (cancel && *cancel)
                stop = true;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        }
    }
    if (cancel && *cancel)
        return mci::NotOpen;
    const std::lock_guard<std::mutex> hold(lock);
    return result;
}

} // namespace vx::media
