// The thumbnail browser's build, beside a floor measured in the same run:
//  - from a press of "作成" until the 25 cells are painted;
//  - the floor: the same files read reduced to the thumbnail's box by Qt's
//    reader (the library the browser uses) on 8 threads, nothing else;
//  - the longest the window thread's event loop went without turning during
//    the build (what a user would feel as a stall).
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

struct BuildTime {
    double total = -1;
    double stall = 0;
};

BuildTime timeBuild(frmSum &b)
{
    BuildTime out;
    QElapsedTimer sinceTurn;
    double longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, ms(sinceTurn.nsecsElapsed()));
        sinceTurn.restart();
    });
    QElapsedTimer t;
    t.start();
    sinceTurn.start();
    tick.start();
    b.cmdShow_Click();
    while (b.building())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    b.repaint();
    out.total = ms(t.nsecsElapsed());
    tick.stop();
    out.stall = longest;
    return out;
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

    std::vector<double> floors, builds, stalls;
    for (int r = 0; r < rounds; ++r) {
        floors.push_back(timeFloor(files));
        const BuildTime bt = timeBuild(b);
        builds.push_back(bt.total);
        stalls.push_back(bt.stall);
        std::printf("round %d: build %.0f ms (%d cells), floor %.0f ms, longest stall %.1f ms\n", r + 1, bt.total,
                    b.ThumbCount, floors.back(), bt.stall);
    }
    const double build = median(builds);
    const double floor = median(floors);
    std::printf("%lld files: build %.0f ms, floor (8 threads, Qt's reduced read) %.0f ms, ratio %.2f; "
                "longest stall %.1f ms (worst round)\n",
                static_cast<long long>(files.size()), build, floor, floor > 0 ? build / floor : 0,
                *std::max_element(stalls.begin(), stalls.end()));
    return 0;
}
