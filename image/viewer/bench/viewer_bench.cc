// For every picture of a folder: the time from Form2.File1's click to the
// picture being in Form2.Image1 (and painted once), against djpeg decoding the
// same file to /dev/null. Best of several rounds each.
#include "image/viewer/form2.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double timeDjpeg(const QString &file)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), file});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "djpeg failed on %s\n", qPrintable(file));
        return -1;
    }
    return ms(t.nsecsElapsed());
}

struct Row {
    QString name;
    QSize size;
    double click = std::numeric_limits<double>::max();  // setListIndex until the picture is in Image1
    double paint = std::numeric_limits<double>::max();  // one paint of the box afterwards (not in click)
    double reader = std::numeric_limits<double>::max(); // LoadPicture alone
    double djpeg = std::numeric_limits<double>::max();
};

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

    Form2 &viewer = vx::instance<Form2>();
    viewer.Dir1.setPath(folder);
    viewer.Show();
    const int count = viewer.File1.ListCount();
    if (count < 2) {
        std::fprintf(stderr, "need at least two pictures in %s\n", qPrintable(folder));
        return 2;
    }
    std::vector<Row> rows(count);
    for (int i = 0; i < count; ++i)
        rows[i].name = viewer.File1.List(i);

    QElapsedTimer t;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < count; ++i) {
            Row &r = rows[i];
            const QString path = vx::joinPath(folder, r.name);

            t.start();
            viewer.File1.setListIndex(i);
            r.click = std::min(r.click, ms(t.nsecsElapsed()));
            r.size = viewer.Image1.Picture().image.size();
            if (r.size.isEmpty()) {
                std::fprintf(stderr, "%s did not load\n", qPrintable(r.name));
                return 1;
            }
            t.start();
            (void)viewer.Image1.grab();
            r.paint = std::min(r.paint, ms(t.nsecsElapsed()));

            t.start();
            const vx::Picture p = vx::LoadPicture(path);
            r.reader = std::min(r.reader, ms(t.nsecsElapsed()));

            const double d = timeDjpeg(path);
            if (d < 0)
                return 1;
            r.djpeg = std::min(r.djpeg, d);
        }
    }

    std::printf("%-14s %11s %10s %10s %12s %10s %8s\n", "file", "size", "click ms", "paint ms", "LoadPicture",
                "djpeg ms", "ratio");
    double click = 0, djpeg = 0;
    for (const Row &r : rows) {
        std::printf("%-14s %5dx%-5d %10.1f %10.1f %12.1f %10.1f %8.2f\n", qPrintable(r.name), r.size.width(),
                    r.size.height(), r.click, r.paint, r.reader, r.djpeg, r.click / r.djpeg);
        click += r.click;
        djpeg += r.djpeg;
    }
    std::printf("%-14s %11s %10.1f %10s %12s %10.1f %8.2f\n", "total", "", click, "", "", djpeg, click / djpeg);
    std::printf("ratio click/djpeg: %.2f (best of %d rounds; djpeg includes starting its process)\n", click / djpeg,
                rounds);
    return 0;
}
