// The thumbnail browser's build, beside a floor measured in the same run:
//  - from a press of "作成" until the 25 cells are painted;
//  - the floor: the same files read reduced to the thumbnail's box by Qt's
//    reader (the library the browser uses) on 8 threads, nothing else;
//  - the longest the window thread's event loop went without turning during
//    the build (what a user would feel as a stall), split into the time the
//    window thread ran and the time it waited for a core (the kernel's
//    schedstat of the thread), so work on the window thread and scheduling
//    are told apart.
#include "image/browser/frmsum.h"
#include "image/browser/thumbnailjob.h"
#include "platform/system/system.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double timeFloor(const QStringList &files)
{
    QThreadPool pool;
    pool.setMaxThreadCount(8);
    std::atomic<int> failed{0};
    QElapsedTimer t;
    t.start();
    for (const QString &file : files) {
        pool.start([file, &failed] {
            QImageReader reader(file);
            reader.setAutoTransform(false);
            reader.setScaledSize(browser::thumbnailBox(reader.size(), 97).size());
            if (reader.read().isNull())
                ++failed;
        });
    }
    pool.waitForDone();
    const double elapsed = ms(t.nsecsElapsed());
    return failed ? -1 : elapsed;
}

// The calling thread's time on a core and time runnable but waiting, in ns.
struct SchedStat {
    long long run = 0, wait = 0;
};

SchedStat readSchedStat(int fd)
{
    char buf[128];
    const ssize_t n = fd >= 0 ? ::pread(fd, buf, sizeof buf - 1, 0) : -1;
    SchedStat s;
    if (n > 0) {
        buf[n] = 0;
        (void)std::sscanf(buf, "%lld %lld", &s.run, &s.wait);
    }
    return s;
}

struct Stall {
    double longest = 0;
    double ran = 0;    // of the longest, the window thread on a core
    double waited = 0; // and runnable, waiting for one
    double mostRan = 0; // the most the window thread ran between two turns
};

// The longest the window thread's event loop went without turning while it
// runs, seen by a 1 ms timer.
class StallWatch {
public:
    StallWatch()
    {
        statFd_ = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
        atTurn_ = readSchedStat(statFd_);
        tick_.setTimerType(Qt::PreciseTimer);
        tick_.setInterval(1);
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            const double gap = ms(sinceTurn_.nsecsElapsed());
            const SchedStat now = readSchedStat(statFd_);
            const double ran = ms(now.run - atTurn_.run);
            if (gap > stall_.longest)
                stall_ = {gap, ran, ms(now.wait - atTurn_.wait), stall_.mostRan};
            stall_.mostRan = std::max(stall_.mostRan, ran);
            atTurn_ = now;
            sinceTurn_.restart();
        });
        sinceTurn_.start();
        tick_.start();
    }
    ~StallWatch()
    {
        if (statFd_ >= 0)
            ::close(statFd_);
    }
    Stall stall() const { return stall_; }

private:
    int statFd_ = -1;
    SchedStat atTurn_;
    QTimer tick_;
    QElapsedTimer sinceTurn_;
    Stall stall_;
};

struct BuildTime {
    double total = -1;
    Stall stall;
};

BuildTime timeBuild(frmSum &b)
{
    BuildTime out;
    StallWatch watch;
    QElapsedTimer t;
    t.start();
    b.cmdShow_Click();
    while (b.building())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    b.repaint();
    out.total = ms(t.nsecsElapsed());
    out.stall = watch.stall();
    return out;
}

// The stall floor: the same watch over an event loop with nothing to do, as
// long as a build took.
Stall idleStall(double forMs)
{
    StallWatch watch;
    QElapsedTimer t;
    t.start();
    while (ms(t.nsecsElapsed()) < forMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return watch.stall();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: browser_bench FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir config; // keep the user's settings out of it
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    vx::setAppPath(config.path());

    QStringList files;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        files << folder + QLatin1Char('/') + name;
    frmSum &b = vx::instance<frmSum>();
    b.Dir.setPath(folder);
    b.Show();
    QCoreApplication::processEvents();
    if (b.File.ListCount() != files.size()) {
        std::fprintf(stderr, "the file list holds %d of %lld files\n", b.File.ListCount(),
                     static_cast<long long>(files.size()));
        return 1;
    }

    std::vector<double> floors, builds;
    Stall worst, worstIdle;
    for (int r = 0; r < rounds; ++r) {
        floors.push_back(timeFloor(files));
        const BuildTime bt = timeBuild(b);
        builds.push_back(bt.total);
        const Stall idle = idleStall(bt.total);
        if (bt.stall.longest > worst.longest)
            worst = bt.stall;
        if (idle.longest > worstIdle.longest)
            worstIdle = idle;
        std::printf("round %d: build %.0f ms (%d cells), floor %.0f ms; longest stall %.1f ms (ran %.1f ms, "
                    "waited for a core %.1f ms; most work in one turn %.1f ms), with nothing to do %.1f ms "
                    "(ran %.1f, waited %.1f)\n",
                    r + 1, bt.total, b.ThumbCount, floors.back(), bt.stall.longest, bt.stall.ran, bt.stall.waited,
                    bt.stall.mostRan, idle.longest, idle.ran, idle.waited);
    }
    const double build = median(builds);
    const double floor = median(floors);
    std::printf("%lld files: build %.0f ms, floor (8 threads, Qt's reduced read) %.0f ms, ratio %.2f; "
                "longest stall %.1f ms (worst round; ran %.1f ms, waited %.1f ms), with nothing to do %.1f ms\n",
                static_cast<long long>(files.size()), build, floor, floor > 0 ? build / floor : 0, worst.longest,
                worst.ran, worst.waited, worstIdle.longest);
    return 0;
}
