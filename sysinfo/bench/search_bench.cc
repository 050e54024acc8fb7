// A recursive search of a folder (default /usr) through the real window, from
// the "検索" click to the list shown with its count, against fdfind -HI and
// find with the same pattern. Caches are warmed first; best of several rounds.
#include "sysinfo/findfile.h"
#include "sysinfo/form10.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

double runTool(const QString &program, const QStringList &args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

int countLines(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    return static_cast<int>(p.readAllStandardOutput().count('\n'));
}

double runWindow(Form10 &f, const QString &folder, const QString &pattern, int &count)
{
    f.Dir1.setPath(folder);
    f.txtFilename.setText(pattern);
    f.chkSubFolder.setValue(1);
    QElapsedTimer t;
    t.start();
    f.cmdFind_Click();
    while (f.Searching())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The list is shown and painted once with its count.
    QCoreApplication::processEvents();
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    count = f.List2.ListCount();
    return ms;
}

// The walk alone, paths counted and dropped: what the window adds is the rest.
double runWalk(const QString &folder, const QString &pattern)
{
    std::atomic<bool> cancel{false};
    basFindFile::SearchSink sink;
    qsizetype n = 0;
    sink.found = [&n](vx::EntryBatch &&p) { n += p.size(); };
    QElapsedTimer t;
    t.start();
    basFindFile::Search(folder, pattern, true, cancel, sink);
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/usr");
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;

    Form10 &f = vx::instance<Form10>();
    f.SSTab1.setTab(Form10::FileSearch);
    f.Show();

    std::printf("folder %s, best of %d, warm caches\n", qPrintable(folder), rounds);
    std::printf("%-8s %10s %8s %10s %10s %10s %10s %9s %9s\n", "pattern", "window ms", "walk ms", "fdfind ms",
                "find ms", "count", "find count", "vs fd", "vs find");
    for (const QString &pattern : {QString(), QStringLiteral("*.h")}) {
        const QStringList fdArgs = pattern.isEmpty() ? QStringList{QStringLiteral("-HI"), QString(), folder}
                                                     : QStringList{QStringLiteral("-HI"), QStringLiteral("-g"), pattern, folder};
        const QStringList findArgs = pattern.isEmpty()
                                         ? QStringList{folder, QStringLiteral("!"), QStringLiteral("-type"), QStringLiteral("d")}
                                         : QStringList{folder, QStringLiteral("!"), QStringLiteral("-type"), QStringLiteral("d"),
                                                       QStringLiteral("-iname"), pattern};
        int count = 0;
        // Warm-up of every contender.
        runWindow(f, folder, pattern, count);
        runTool(QStringLiteral("fdfind"), fdArgs);
        runTool(QStringLiteral("find"), findArgs);
        double ours = std::numeric_limits<double>::max();
        double fd = ours;
        double find = ours;
        double walk = ours;
        for (int r = 0; r < rounds; ++r) {
            ours = std::min(ours, runWindow(f, folder, pattern, count));
            walk = std::min(walk, runWalk(folder, pattern));
            fd = std::min(fd, runTool(QStringLiteral("fdfind"), fdArgs));
            find = std::min(find, runTool(QStringLiteral("find"), findArgs));
        }
        const int findCount = countLines(QStringLiteral("find"), findArgs);
        std::printf("%-8s %10.1f %8.1f %10.1f %10.1f %10d %10d %9.2f %9.2f\n",
                    pattern.isEmpty() ? "(empty)" : qPrintable(pattern), ours, walk, fd, find, count, findCount,
                    ours / fd, ours / find);
    }
    f.Unload();
    return 0;
}
