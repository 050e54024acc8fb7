#include "watchdog.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <execinfo.h>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace xwin {

namespace {

using Clock = std::chrono::steady_clock;

const QEvent::Type kPing = static_cast<QEvent::Type>(QEvent::User + 731);
const QEvent::Type kSettle = static_cast<QEvent::Type>(QEvent::User + 732);

std::atomic<quint64> g_posted{0};
std::atomic<quint64> g_answered{0};
pthread_t g_windowThread;

class PingEvent : public QEvent {
public:
    explicit PingEvent(quint64 seq) : QEvent(kPing), seq(seq) {}
    quint64 seq;
};

// Lives on the window thread and answers the pings.
class PingReceiver : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == kSettle) {
            ++settled;
            return true;
        }
        if (e->type() != kPing)
            return QObject::event(e);
        const quint64 seq = static_cast<PingEvent *>(e)->seq;
        quint64 prev = g_answered.load();
        while (seq > prev && !g_answered.compare_exchange_weak(prev, seq)) {
        }
        return true;
    }
    quint64 settled = 0;
};

PingReceiver *g_receiver = nullptr;
std::thread g_thread;
std::atomic<bool> g_stop{false};
std::mutex g_mutex;
QString g_step;
QStringList g_freezes;
QStringList g_rescue;
std::chrono::milliseconds g_limit{2000};

void onStackSignal(int)
{
    printStack();
}

// Opens each FIFO of the rescue folders from the other end and closes it
// again: a reader blocked in open() gets the end of the file, a writer its
// reader (and then a broken pipe).
void rescue()
{
    QStringList folders;
    {
        std::lock_guard lock(g_mutex);
        folders = g_rescue;
    }
    for (const QString &folder : folders) {
        QDir dir(folder);
        const QStringList names = dir.entryList(QDir::System | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString &name : names) {
            const QByteArray p = dir.filePath(name).toLocal8Bit();
            struct stat st {};
            if (::lstat(p.constData(), &st) != 0 || !S_ISFIFO(st.st_mode))
                continue;
            for (int mode : {O_WRONLY, O_RDONLY}) {
                const int fd = ::open(p.constData(), mode | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
            }
        }
    }
}

void watch()
{
    quint64 seq = 0;
    while (!g_stop) {
        const quint64 mine = ++seq;
        g_posted = mine;
        QCoreApplication::postEvent(g_receiver, new PingEvent(mine));
        const auto sent = Clock::now();
        bool reported = false;
        while (!g_stop && g_answered.load() < mine) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const auto waited = Clock::now() - sent;
            if (!reported && waited > g_limit) {
                reported = true;
                QString step;
                {
                    std::lock_guard lock(g_mutex);
                    step = g_step;
                }
                fprintf(stderr, "\n*** The window thread did not answer within %lld ms during \"%s\"; its stack:\n",
                        static_cast<long long>(g_limit.count()), step.toLocal8Bit().constData());
                fflush(stderr);
                pthread_kill(g_windowThread, SIGUSR2);
                {
                    std::lock_guard lock(g_mutex);
                    g_freezes << step;
                }
            }
            if (reported)
                rescue();
            if (waited > std::chrono::seconds(30)) {
                fprintf(stderr, "*** The window thread is stuck for good; giving up.\n");
                fflush(stderr);
                _exit(3);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace

Watchdog &Watchdog::instance()
{
    static Watchdog w;
    return w;
}

void Watchdog::start(std::chrono::milliseconds limit)
{
    g_limit = limit;
    g_windowThread = pthread_self();
    void *frame[1];
    backtrace(frame, 1); // loads the unwinder now, not first in a signal handler
    struct sigaction sa {};
    sa.sa_handler = onStackSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGUSR2, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    g_receiver = new PingReceiver;
    g_stop = false;
    g_thread = std::thread(watch);
}

void Watchdog::stop()
{
    g_stop = true;
    if (g_thread.joinable())
        g_thread.join();
    delete g_receiver;
    g_receiver = nullptr;
}

void Watchdog::setStep(const QString &step)
{
    std::lock_guard lock(g_mutex);
    g_step = step;
}

QStringList Watchdog::takeFreezes()
{
    std::lock_guard lock(g_mutex);
    QStringList r;
    r.swap(g_freezes);
    return r;
}

bool Watchdog::settle(std::chrono::milliseconds bound)
{
    // Everything posted before the marker has been handled once it arrives.
    const quint64 target = g_receiver->settled + 1;
    QCoreApplication::postEvent(g_receiver, new QEvent(kSettle), Qt::LowEventPriority);
    const auto end = Clock::now() + bound;
    while (g_receiver->settled < target) {
        if (Clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

void Watchdog::addRescueFolder(const QString &folder)
{
    std::lock_guard lock(g_mutex);
    g_rescue << folder;
}

void printStack()
{
    void *frames[128];
    const int n = backtrace(frames, 128);
    static const char head[] = "--- stack ---\n";
    if (write(2, head, sizeof head - 1) < 0)
        return;
    backtrace_symbols_fd(frames, n, 2);
}

} // namespace xwin
