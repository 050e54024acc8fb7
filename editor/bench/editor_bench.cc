// Opening a 10 MB document in the editor window (the file list's click until
// the text is in RichTextBox1 and painted once) and replacing all over it
// (Form37's "すべて置換"). Best and first of several rounds.
#include "editor/form37.h"
#include "editor/form4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

// About `bytes` of UTF-8 lines of mixed Japanese and ASCII text.
QByteArray document(qint64 bytes, const char *kind)
{
    const QByteArray line = QStringLiteral("吾輩は猫である。名前はまだ無い。The quick brown fox jumps over the lazy dog %1\r\n")
                                .toUtf8();
    QByteArray out;
    out.reserve(bytes + line.size() * 2);
    int n = 0;
    if (QByteArray(kind) == "rtf") {
        out = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0\\fs20 ";
        const QByteArray rl = "\\u21566\\'8c\\'e1\\u36649\\'94\\'79 {\\b bold} fox jumps over the lazy dog %1\\par\n";
        while (out.size() < bytes)
            out += QByteArray(rl).replace("%1", QByteArray::number(n++));
        out += "}";
        return out;
    }
    while (out.size() < bytes)
        out += QByteArray(line).replace("%1", QByteArray::number(n++));
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // keep the user's settings out of it
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;
    for (const char *kind : {"txt", "rtf"}) {
        const QString name = QStringLiteral("big.") + QLatin1String(kind);
        const QByteArray bytes = document(10 * 1024 * 1024, kind);
        {
            QFile f(dir.filePath(name));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
        }
        double bestOpen = 1e18, firstOpen = 0, bestReplace = 1e18, firstReplace = 0;
        qsizetype replaced = 0;
        for (int r = 0; r < rounds; ++r) {
            Form4 &e = vx::instance<Form4>();
            e.Dir1.setPath(dir.path());
            e.Show();
            QApplication::processEvents();
            QElapsedTimer t;
            t.start();
            e.File1.setListIndex(0);
            e.RichTextBox1.viewport()->repaint();
            const double open = ms(t.nsecsElapsed());
            if (e.RichTextBox1.document()->characterCount() < 1000) {
                std::fprintf(stderr, "%s did not load\n", qPrintable(name));
                return 1;
            }
            Form37 &rep = vx::instance<Form37>();
            rep.Text1.setText(QStringLiteral("fox"));
            rep.Text2.setText(QStringLiteral("狐"));
            const int before = e.RichTextBox1.document()->characterCount();
            t.restart();
            rep.Command1_Click();
            e.RichTextBox1.viewport()->repaint();
            const double replace = ms(t.nsecsElapsed());
            replaced = (before - e.RichTextBox1.document()->characterCount()) / 2;
            if (r == 0) {
                firstOpen = open;
                firstReplace = replace;
            }
            bestOpen = std::min(bestOpen, open);
            bestReplace = std::min(bestReplace, replace);
            vx::unload<Form37>();
            e.setCaption(editor::kEditCaption);
            vx::FormRegistry::reset();
            QApplication::processEvents();
        }
        std::printf("%s %.1f MB: open first %.0f ms best %.0f ms; replace all (%lld matches) first %.0f ms best %.0f ms\n",
                    kind, bytes.size() / 1048576.0, firstOpen, bestOpen, static_cast<long long>(replaced), firstReplace,
                    bestReplace);
    }
    return 0;
}
