// The first image viewer's costs, each beside a floor measured in the same run:
//  - the first picture of the run, from Form2.File1's click to the picture
//    painted in Image1, against Qt's reader decoding the same file into memory
//    never touched before;
//  - the steady state (every later click, median), against the same reader
//    decoding each file into fresh memory (median), and djpeg for reference;
//  - opening the viewer on a folder of 5,000 files against a folder of one;
//  - the process's memory showing one picture, after a walk, hidden, unloaded.
#include "image/viewer/form2.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"
#include "suite/settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double rssMb(const char *key = "VmRSS:")
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

double timeDjpeg(const QString &file)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), file});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return ms(t.nsecsElapsed());
}

// Qt's reader alone, into a picture of its own (fresh memory each time).
double timeReader(const QString &file)
{
    QElapsedTimer t;
    t.start();
    QImageReader reader(file);
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    const double elapsed = ms(t.nsecsElapsed());
    return image.isNull() ? -1 : elapsed;
}

// A click on the list until the picture is painted in the box.
double timeClick(Form2 &viewer, int index)
{
    QElapsedTimer t;
    t.start();
    viewer.File1.setListIndex(index);
    viewer.Image1.repaint();
    return ms(t.nsecsElapsed());
}

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(10);
    }
}

// Opening the viewer on a stored folder until it is shown (median of rounds).
double timeOpen(const QString &folder, int rounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        suite::SaveSetting(QStringLiteral("Graphic Rondix"), QStringLiteral("Dir"), folder);
        settle();
        QElapsedTimer t;
        t.start();
        Form2 &viewer = vx::instance<Form2>();
        viewer.Show();
        QApplication::processEvents();
        times.push_back(ms(t.nsecsElapsed()));
        if (viewer.File1.Path() != folder)
            std::fprintf(stderr, "viewer did not open %s\n", qPrintable(folder));
        vx::unload<Form2>();
        settle();
    }
    return median(times);
}

bool makeFolder(const QString &dir, int files)
{
    if (!QDir().mkpath(dir))
        return false;
    for (int i = 0; i < files; ++i) {
        QFile f(dir + QStringLiteral("/picture%1.jpg").arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // keep the user's settings out of it
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: viewer_bench FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString folder = QDir(args.at(1)).absolutePath();
    const int rounds = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 3;
    const double before = rssMb();

    Form2 &viewer = vx::instance<Form2>();
    viewer.Dir1.setPath(folder);
    viewer.Show();
    settle();
    const int count = viewer.File1.ListCount();
    if (count < 4) {
        std::fprintf(stderr, "need at least four pictures in %s\n", qPrintable(folder));
        return 2;
    }
    auto file = [&](int i) { return vx::joinPath(folder, viewer.File1.List(i)); };

    // The first picture of the run, then its floor.
    const double first = timeClick(viewer, 0);
    const QSize size = viewer.Image1.Picture().image.size();
    if (size.isEmpty()) {
        std::fprintf(stderr, "%s did not load\n", qPrintable(file(0)));
        return 1;
    }
    settle();
    const double oneMb = rssMb();
    const double firstFloor = timeReader(file(0));

    // Memory walking three more, at once and after an idle second.
    for (int i = 1; i <= 3; ++i)
        viewer.File1.setListIndex(i);
    const double walkMb = rssMb();
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 1200)
        settle();
    const double walkIdleMb = rssMb();

    // Steady state: walking the folder, several rounds.
    std::vector<double> clicks, floors, djpegs;
    for (int round = 0; round < rounds; ++round) {
        viewer.File1.setListIndex(0);
        for (int i = 1; i < count; ++i)
            clicks.push_back(timeClick(viewer, i));
        viewer.File1.setListIndex(0);
        for (int i = 1; i < count; ++i) {
            floors.push_back(timeReader(file(i)));
            djpegs.push_back(timeDjpeg(file(i)));
        }
    }
    viewer.Command1_Click();
    settle();
    const double hiddenMb = rssMb();
    vx::unload<Form2>();
    settle();
    const double unloadedMb = rssMb();

    std::printf("pictures: %d of %dx%d\n", count, size.width(), size.height());
    std::printf("first picture: click to painted %.1f ms, floor (Qt's reader, fresh memory) %.1f ms, ratio %.2f\n",
                first, firstFloor, first / firstFloor);
    const double steady = median(clicks), steadyFloor = median(floors);
    std::printf("steady state (median of %zu): click to painted %.1f ms, floor %.1f ms, ratio %.2f; djpeg %.1f ms\n",
                clicks.size(), steady, steadyFloor, steady / steadyFloor, median(djpegs));
    std::printf("memory (VmRSS MB): before the viewer %.0f, one picture %.0f, after walking three %.0f at once "
                "(%.2fx) and %.0f after an idle second (%.2fx), hidden %.0f, unloaded %.0f\n",
                before, oneMb, walkMb, walkMb / oneMb, walkIdleMb, walkIdleMb / oneMb, hiddenMb, unloadedMb);

    QTemporaryDir lists;
    const QString many = lists.path() + QStringLiteral("/many");
    const QString one = lists.path() + QStringLiteral("/one");
    if (!makeFolder(many, 5000) || !makeFolder(one, 1)) {
        std::fprintf(stderr, "cannot make the list folders\n");
        return 1;
    }
    timeOpen(one, 2); // warm up
    const double openOne = timeOpen(one, 9);
    const double openMany = timeOpen(many, 9);
    std::printf("opening the viewer: on 5,000 files %.1f ms, on one file %.1f ms, difference %.1f ms\n", openMany,
                openOne, openMany - openOne);
    return 0;
}
