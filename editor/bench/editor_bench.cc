// Opening plain text and rich text of 1, 10 and 50 MB in the editor window
// (the file list's click until the text is in RichTextBox1 and painted once),
// each beside its floor: the same bytes read, decoded and handed to a bare
// QTextEdit / QPlainTextEdit with setPlainText, and for rich text the same
// document built with QTextCursor run by run. Replace all over 50,000 matches
// with and without an accessibility client. One measurement per process, so
// the first use is a fresh process with fresh memory; the following rounds
// of the same process are the steady state. run.sh interleaves the processes.
//
// editor_bench open <txt|rtf> <MB> <ours|textedit|plaintextedit|cursor> [rounds]
// editor_bench after <MB> <ours|plaintextedit> [seconds]
//   the longest stall of the window thread in the seconds after the open.
// editor_bench longopen <MB> <ours|plaintextedit> [rounds]
//   a file of one line of hex digits (no break opportunity in it): the
//   longest stall of the window thread from the open through the seconds
//   after it, round by round (the first round is the first use).
//   EDITOR_BENCH_SHOT=file.png saves a picture of the window after it.
// editor_bench longkey <MB> <ours|plaintextedit> [keys]
//   keys typed in the middle of such a line, each until it is painted; the
//   first key apart from the rest, and the longest stall while typing.
// editor_bench spaced <MB> <line|lines> [keys]
//   JSON-like text with spaces as one line, or the same text in ordinary
//   lines: the longest stall of the open, the caret display's cost, and keys
//   typed at the start and at the end of the text, each until painted with
//   the caret display run.
// editor_bench replace <MB> <plain|handler|atspi> [rounds]
//   handler: an update handler that reads each event (needs no bus);
//   atspi: the platform's bridge (xcb, a session bus with the accessibility
//   bus and its registry, a listener registered for events: run.sh starts
//   them). Qt turns its bridge on only once org.a11y.Bus is on the session
//   bus, and sends events only of kinds a listener registered for.
// editor_bench listen
//   the listener: registers for the events a screen reader follows, counts
//   what arrives, says "listening" once registered.
#include "editor/form37.h"
#include "editor/form4.h"
#include "platform/rtf/rtf.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QSocketNotifier>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

// Under valgrind --tool=callgrind --collect-atstart=no only the measured
// steps count: instruction counts, which the machine's load does not move.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define VX_MEASURE(on) CALLGRIND_TOGGLE_COLLECT
#else
#define VX_MEASURE(on)
#endif

namespace {

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

// About `bytes` of UTF-8 lines of mixed Japanese and ASCII text, or the same
// as rich text with a bold word per line.
QByteArray document(qint64 bytes, bool rtf)
{
    QByteArray out;
    out.reserve(bytes + 256);
    int n = 0;
    if (rtf) {
        out = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0\\fs20 ";
        const QByteArray rl = "\\u21566\\'8c\\'e1\\u36649\\'94\\'79 {\\b bold} fox jumps over the lazy dog %1\\par\n";
        while (out.size() < bytes)
            out += QByteArray(rl).replace("%1", QByteArray::number(n++));
        out += "}";
        return out;
    }
    const QByteArray line =
        QStringLiteral("吾輩は猫である。名前はまだ無い。The quick brown fox jumps over the lazy dog %1\r\n").toUtf8();
    while (out.size() < bytes)
        out += QByteArray(line).replace("%1", QByteArray::number(n++));
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The runs of a document: text and format, paragraph by paragraph.
struct Run {
    QString text;
    QTextCharFormat format;
};
struct Para {
    QTextBlockFormat format;
    std::vector<Run> runs;
};

std::vector<Para> runsOf(const QTextDocument &doc)
{
    std::vector<Para> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        Para p{b.blockFormat(), {}};
        for (auto it = b.begin(); !it.atEnd(); ++it)
            p.runs.push_back({it.fragment().text(), it.fragment().charFormat()});
        out.push_back(std::move(p));
    }
    return out;
}

int open(const QString &kind, int mb, const QString &who, int rounds)
{
    const bool rtf = kind == QLatin1String("rtf");
    QTemporaryDir dir;
    const QString name = QStringLiteral("big.") + kind;
    const QString path = dir.filePath(name);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(document(qint64(mb) * 1024 * 1024, rtf));
    }
    std::vector<Para> runs;
    if (who == QLatin1String("cursor")) {
        QTextDocument parsed;
        vx::rtf::read(readAll(path), parsed);
        runs = runsOf(parsed);
    }
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        if (who == QLatin1String("ours")) {
            Form4 &e = vx::instance<Form4>();
            e.Dir1.setPath(dir.path());
            e.Show();
            QApplication::processEvents();
            t.start();
            VX_MEASURE(on);
            e.File1.setListIndex(0);
            e.RichTextBox1.viewport()->repaint();
            VX_MEASURE(off);
            times.push_back(ms(t.nsecsElapsed()));
            if (e.RichTextBox1.document()->characterCount() < 1000) {
                std::fprintf(stderr, "%s did not load\n", qPrintable(name));
                return 1;
            }
            vx::FormRegistry::reset();
        } else if (who == QLatin1String("textedit") || who == QLatin1String("plaintextedit")) {
            QTextEdit te;
            QPlainTextEdit pe;
            QAbstractScrollArea *area = who == QLatin1String("textedit") ? static_cast<QAbstractScrollArea *>(&te) : &pe;
            area->resize(600, 400);
            area->show();
            QApplication::processEvents();
            t.start();
            VX_MEASURE(on);
            {
                const QString text = QString::fromUtf8(readAll(path));
                if (area == &te)
                    te.setPlainText(text);
                else
                    pe.setPlainText(text);
            }
            area->viewport()->repaint();
            VX_MEASURE(off);
            times.push_back(ms(t.nsecsElapsed()));
        } else if (who == QLatin1String("cursor")) {
            QTextEdit te;
            te.resize(600, 400);
            te.show();
            QApplication::processEvents();
            t.start();
            VX_MEASURE(on);
            (void)readAll(path);
            auto *doc = new QTextDocument(&te);
            doc->setUndoRedoEnabled(false);
            QTextCursor c(doc);
            c.beginEditBlock();
            bool first = true;
            for (const Para &p : runs) {
                if (!first)
                    c.insertBlock(p.format);
                else
                    c.setBlockFormat(p.format);
                first = false;
                for (const Run &run : p.runs)
                    c.insertText(run.text, run.format);
            }
            c.endEditBlock();
            te.setDocument(doc);
            te.viewport()->repaint();
            VX_MEASURE(off);
            times.push_back(ms(t.nsecsElapsed()));
        } else {
            std::fprintf(stderr, "unknown: %s\n", qPrintable(who));
            return 2;
        }
        QApplication::processEvents();
    }
    std::vector<double> steady(times.begin() + 1, times.end());
    std::sort(steady.begin(), steady.end());
    std::printf("open %s %3d MB %-13s first %7.0f ms  steady median %7.0f ms\n", qPrintable(kind), mb,
                qPrintable(who), times.front(), steady.empty() ? 0.0 : steady[steady.size() / 2]);
    return 0;
}

// The window thread after the open: the longest the event loop went without
// turning over in the following seconds (a text box laying out the rest of
// the document in the background holds it that long), beside QPlainTextEdit.
int after(int mb, const QString &who, int seconds)
{
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("big.txt")));
        f.open(QIODevice::WriteOnly);
        f.write(document(qint64(mb) * 1024 * 1024, false));
    }
    QPlainTextEdit pe;
    QScrollBar *bar = nullptr;
    if (who == QLatin1String("ours")) {
        Form4 &e = vx::instance<Form4>();
        e.Dir1.setPath(dir.path());
        e.Show();
        QApplication::processEvents();
        e.File1.setListIndex(0);
        e.RichTextBox1.viewport()->repaint();
        bar = e.RichTextBox1.verticalScrollBar();
    } else if (who == QLatin1String("plaintextedit")) {
        pe.resize(600, 400);
        pe.show();
        QApplication::processEvents();
        pe.setPlainText(QString::fromUtf8(readAll(dir.filePath(QStringLiteral("big.txt")))));
        pe.viewport()->repaint();
        bar = pe.verticalScrollBar();
    } else {
        std::fprintf(stderr, "unknown: %s\n", qPrintable(who));
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0, longestAt = 0, busy = 0, settled = 0;
    int longSteps = 0, range = bar->maximum();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 gap = now - last;
        if (gap > longest) {
            longest = gap;
            longestAt = last;
        }
        if (gap > 2000000)
            busy += gap;
        if (gap > 50000000)
            ++longSteps;
        last = now;
        if (bar->maximum() != range) {
            range = bar->maximum();
            settled = now;
        }
    });
    tick.start(1);
    while (clock.elapsed() < seconds * 1000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("after open txt %3d MB %-13s longest stall %5.0f ms (from %5.0f ms), %3d over 50 ms, busy %6.0f ms, scroll range last "
                "changed at %5.0f ms (range %d)\n",
                mb, qPrintable(who), ms(longest), ms(longestAt), longSteps, ms(busy), ms(settled), range);
    return 0;
}

// One line of hex digits, no break opportunity in it.
QByteArray hexLine(int mb)
{
    QByteArray out(qint64(mb) * 1024 * 1024, Qt::Uninitialized);
    quint32 x = 1;
    for (char &c : out) {
        x = x * 1103515245u + 12345u;
        c = "0123456789abcdef"[(x >> 16) & 15];
    }
    return out;
}

// The longest time the window thread goes without turning over its event
// loop while `during` runs, through `settle` ms after it.
class StallClock {
public:
    StallClock()
    {
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    double measure(const std::function<void()> &during, int settle)
    {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        tick_.start(1);
        QTimer::singleShot(0, during);
        while (clock_.elapsed() < settle)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        tick_.stop();
        // A stall that outlasted `settle` ended with no tick after it.
        return ms(std::max(longest_, clock_.nsecsElapsed() - last_));
    }

private:
    QTimer tick_;
    QElapsedTimer clock_;
    qint64 last_ = 0, longest_ = 0;
};

// The open of a line of `mb` MB in the editor window or in a QPlainTextEdit
// wrapping anywhere (its default search for a word break is no floor).
struct LongLine {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<QPlainTextEdit> pe;
    explicit LongLine(int mb) : path(dir.filePath(QStringLiteral("line.txt")))
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(hexLine(mb));
    }
    QAbstractScrollArea *open(const QString &who)
    {
        if (who == QLatin1String("ours")) {
            Form4 &e = vx::instance<Form4>();
            if (e.Dir1.Path() != dir.path())
                e.Dir1.setPath(dir.path());
            e.File1.setListIndex(0);
            e.RichTextBox1.viewport()->repaint();
            return &e.RichTextBox1;
        }
        if (!pe) {
            pe = std::make_unique<QPlainTextEdit>();
            pe->setWordWrapMode(QTextOption::WrapAnywhere);
            pe->resize(600, 400);
            pe->show();
        }
        pe->setPlainText(QString::fromUtf8(readAll(path)));
        pe->viewport()->repaint();
        return pe.get();
    }
};

int longOpen(int mb, const QString &who, int rounds)
{
    LongLine line(mb);
    if (who == QLatin1String("ours")) {
        vx::instance<Form4>().Dir1.setPath(line.dir.path());
        vx::instance<Form4>().Show();
    }
    std::vector<double> stalls;
    for (int r = 0; r < rounds; ++r) {
        if (who == QLatin1String("ours")) {
            vx::instance<Form4>().RichTextBox1.setText(QString());
            vx::instance<Form4>().File1.setListIndex(-1);
        }
        stalls.push_back(StallClock().measure([&] { line.open(who); }, 3000));
    }
    std::vector<double> steady(stalls.begin() + 1, stalls.end());
    std::sort(steady.begin(), steady.end());
    // A picture of the window after the last open, to look at.
    if (const QString shot = qEnvironmentVariable("EDITOR_BENCH_SHOT"); !shot.isEmpty()) {
        QWidget *w = who == QLatin1String("ours") ? static_cast<QWidget *>(&vx::instance<Form4>()) : line.pe.get();
        w->grab().save(shot);
    }
    std::printf("open of a %d MB line %-13s longest stall: first %6.0f ms  steady median %6.0f ms  worst %6.0f ms\n", mb,
                qPrintable(who), stalls.front(), steady.empty() ? 0.0 : steady[steady.size() / 2],
                steady.empty() ? 0.0 : steady.back());
    return 0;
}

int longKey(int mb, const QString &who, int keys)
{
    LongLine line(mb);
    if (who == QLatin1String("ours"))
        vx::instance<Form4>().Show();
    QAbstractScrollArea *area = line.open(who);
    StallClock().measure([] {}, 3000); // the rest of the open settles
    QWidget *target = area;
    if (auto *te = qobject_cast<QTextEdit *>(area)) {
        QTextCursor c = te->textCursor();
        c.setPosition(te->document()->characterCount() / 2);
        te->setTextCursor(c);
    } else if (auto *pe = qobject_cast<QPlainTextEdit *>(area)) {
        QTextCursor c = pe->textCursor();
        c.setPosition(pe->document()->characterCount() / 2);
        pe->setTextCursor(c);
    }
    target->setFocus();
    std::vector<double> times;
    double longest = StallClock().measure(
        [&] {
            for (int k = 0; k < keys; ++k) {
                QElapsedTimer t;
                t.start();
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                QApplication::sendEvent(target, &press);
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                QApplication::sendEvent(target, &release);
                area->viewport()->repaint();
                QApplication::processEvents();
                times.push_back(ms(t.nsecsElapsed()));
            }
        },
        1000);
    std::vector<double> steady(times.begin() + 1, times.end());
    std::sort(steady.begin(), steady.end());
    std::printf("key in a %d MB line %-13s first %6.0f ms  steady median %6.0f ms  worst %6.0f ms  (longest stall "
                "%6.0f ms, %d keys)\n",
                mb, qPrintable(who), times.front(), steady.empty() ? 0.0 : steady[steady.size() / 2],
                steady.empty() ? 0.0 : steady.back(), longest, keys);
    return 0;
}

// About `mb` MB of JSON-like text with spaces: one line, or the same text in
// ordinary lines (", " becomes ",\n": as many characters).
QByteArray spacedText(int mb, bool lines)
{
    QByteArray out;
    const qint64 bytes = qint64(mb) * 1024 * 1024;
    out.reserve(bytes + 256);
    out += '{';
    for (int n = 0; out.size() < bytes; ++n)
        out += "\"key" + QByteArray::number(n) + "\": \"the quick brown fox " + QByteArray::number(n * 7919 % 100000) +
               "\"" + (lines ? ",\n" : ", ");
    out += "\"end\": 0}";
    return out;
}

// A line of `mb` MB with spaces, or the same text in ordinary lines, in the
// editor window: the longest stall of the open, then keys typed at its start
// and at its end, each until painted with the window's timers run.
int spaced(int mb, const QString &shape, int keys)
{
    const bool lines = shape == QLatin1String("lines");
    if (!lines && shape != QLatin1String("line")) {
        std::fprintf(stderr, "unknown: %s\n", qPrintable(shape));
        return 2;
    }
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("spaced.txt")));
        f.open(QIODevice::WriteOnly);
        f.write(spacedText(mb, lines));
    }
    Form4 &e = vx::instance<Form4>();
    e.Dir1.setPath(dir.path());
    e.Show();
    QApplication::processEvents();
    vx::RichTextBox &box = e.RichTextBox1;
    QElapsedTimer opened;
    opened.start();
    const double openStall = StallClock().measure(
        [&] {
            e.File1.setListIndex(0);
            box.viewport()->repaint();
        },
        3000);
    const double openMs = ms(opened.nsecsElapsed());
    if (box.document()->characterCount() < 1000) {
        std::fprintf(stderr, "did not load\n");
        return 1;
    }
    box.setFocus();
    auto typeAt = [&](bool atEnd, std::vector<double> &times) {
        box.setSelStart(atEnd ? box.document()->characterCount() - 1 : 0);
        return StallClock().measure(
            [&] {
                for (int k = 0; k < keys; ++k) {
                    QElapsedTimer t;
                    t.start();
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                    QApplication::sendEvent(&box, &press);
                    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                    QApplication::sendEvent(&box, &release);
                    box.viewport()->repaint();
                    e.Timer1_Timer();
                    QApplication::processEvents();
                    times.push_back(ms(t.nsecsElapsed()));
                }
            },
            500);
    };
    auto report = [&](const char *where, std::vector<double> &times, double stall) {
        std::vector<double> steady(times.begin() + 1, times.end());
        std::sort(steady.begin(), steady.end());
        std::printf("spaced %3d MB %-5s key at %-5s first %6.0f ms  steady median %6.0f ms  worst %6.0f ms  (longest "
                    "stall %6.0f ms, %d keys)\n",
                    mb, qPrintable(shape), where, times.front(), steady.empty() ? 0.0 : steady[steady.size() / 2],
                    steady.empty() ? 0.0 : steady.back(), stall, keys);
    };
    std::vector<double> start, end;
    const double startStall = typeAt(false, start);
    const double endStall = typeAt(true, end);
    // The caret display alone, at the end of the text where the keys went.
    std::vector<double> ticks;
    for (int k = 0; k < 5; ++k) {
        QElapsedTimer t;
        t.start();
        e.Timer1_Timer();
        ticks.push_back(ms(t.nsecsElapsed()));
    }
    std::sort(ticks.begin(), ticks.end());
    std::printf("spaced %3d MB %-5s open: longest stall %6.0f ms (%6.0f ms with 3 s after)  caret display median "
                "%7.2f ms\n",
                mb, qPrintable(shape), openStall, openMs, ticks[ticks.size() / 2]);
    report("start", start, startStall);
    report("end", end, endStall);
    return 0;
}

int replace(int mb, const QString &mode, int rounds)
{
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("big.txt")));
        f.open(QIODevice::WriteOnly);
        f.write(document(qint64(mb) * 1024 * 1024, false));
    }
    // An accessibility client that looks at every event, as a screen reader does.
    static qint64 events = 0;
    if (mode == QLatin1String("handler")) {
        QAccessible::installUpdateHandler([](QAccessibleEvent *e) {
            ++events;
            if (QAccessibleInterface *i = e->accessibleInterface())
                (void)i->text(QAccessible::Name);
        });
        QAccessible::setActive(true);
    }
    if (mode == QLatin1String("atspi")) {
        // The bridge comes up through bus replies: wait for it.
        QElapsedTimer up;
        up.start();
        while (!QAccessible::isActive() && up.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (!QAccessible::isActive()) {
            std::fprintf(stderr, "the accessibility bridge did not come up\n");
            return 1;
        }
    }
    std::vector<double> times;
    qsizetype replaced = 0;
    for (int r = 0; r < rounds; ++r) {
        Form4 &e = vx::instance<Form4>();
        e.Dir1.setPath(dir.path());
        e.Show();
        e.File1.setListIndex(0);
        e.RichTextBox1.viewport()->repaint();
        QApplication::processEvents();
        Form37 &rep = vx::instance<Form37>();
        rep.Text1.setText(QStringLiteral("fox"));
        rep.Text2.setText(QStringLiteral("狐"));
        const int before = e.RichTextBox1.document()->characterCount();
        events = 0;
        QElapsedTimer t;
        t.start();
        VX_MEASURE(on);
        rep.Command1_Click();
        e.RichTextBox1.viewport()->repaint();
        QApplication::processEvents();
        VX_MEASURE(off);
        times.push_back(ms(t.nsecsElapsed()));
        replaced = (before - e.RichTextBox1.document()->characterCount()) / 2;
        vx::FormRegistry::reset();
        QApplication::processEvents();
    }
    std::vector<double> steady(times.begin() + 1, times.end());
    std::sort(steady.begin(), steady.end());
    std::printf("replace all %d MB (%lld matches) %-7s active %d first %6.0f ms  steady median %6.0f ms  (%lld events)\n",
                mb, static_cast<long long>(replaced), qPrintable(mode), int(QAccessible::isActive()), times.front(),
                steady.empty() ? 0.0 : steady[steady.size() / 2], static_cast<long long>(events));
    return 0;
}

// Counts the accessibility events it receives until SIGTERM.
class Listener : public QObject {
    Q_OBJECT
public slots:
    void event(const QDBusMessage &m)
    {
        ++count;
        bytes += m.arguments().value(3).toString().size();
    }

public:
    qint64 count = 0;
    qint64 bytes = 0;
};

int termPipe[2];

int listen()
{
    const QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
        QStringLiteral("GetAddress"));
    const QDBusReply<QString> address = QDBusConnection::sessionBus().call(ask);
    if (!address.isValid()) {
        std::fprintf(stderr, "no accessibility bus: %s\n", qPrintable(address.error().message()));
        return 1;
    }
    // As a screen reader announces itself: programs that start later turn
    // their bridges on.
    QDBusMessage on = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("Set"));
    on << QStringLiteral("org.a11y.Status") << QStringLiteral("ScreenReaderEnabled")
       << QVariant::fromValue(QDBusVariant(true));
    const QDBusMessage onReply = QDBusConnection::sessionBus().call(on);
    if (onReply.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "cannot announce a screen reader: %s\n", qPrintable(onReply.errorMessage()));
        return 1;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
    Listener listener;
    for (const char *member : {"TextChanged", "TextCaretMoved", "TextSelectionChanged", "StateChanged",
                               "PropertyChange", "ChildrenChanged", "ActiveDescendantChanged", "SelectionChanged",
                               "VisibleDataChanged", "TextAttributesChanged"})
        bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"), QLatin1String(member),
                    &listener, SLOT(event(QDBusMessage)));
    for (const char *event : {"object:text-changed", "object:text-caret-moved", "object:text-selection-changed",
                              "object:state-changed", "object:property-change", "object:children-changed",
                              "object:active-descendant-changed", "object:selection-changed", "focus:",
                              "window:activate"}) {
        QDBusMessage m = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
            QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
        m << QString::fromLatin1(event) << QStringList() << QString();
        const QDBusMessage reply = bus.call(m);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            std::fprintf(stderr, "the registry refused %s: %s\n", event, qPrintable(reply.errorMessage()));
            return 1;
        }
    }
    if (::pipe(termPipe) != 0)
        return 1;
    std::signal(SIGTERM, [](int) { (void)!::write(termPipe[1], "x", 1); });
    QSocketNotifier term(termPipe[0], QSocketNotifier::Read);
    QObject::connect(&term, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
    std::printf("listening\n");
    std::fflush(stdout);
    QCoreApplication::exec();
    std::printf("the listener received %lld events, %lld characters of text\n", static_cast<long long>(listener.count),
                static_cast<long long>(listener.bytes));
    return 0;
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
    if (args.size() >= 5 && args[1] == QLatin1String("open"))
        return open(args[2], args[3].toInt(), args[4], args.size() > 5 ? std::max(1, args[5].toInt()) : 3);
    if (args.size() >= 2 && args[1] == QLatin1String("listen"))
        return listen();
    if (args.size() >= 4 && args[1] == QLatin1String("after"))
        return after(args[2].toInt(), args[3], args.size() > 4 ? std::max(1, args[4].toInt()) : 5);
    if (args.size() >= 4 && args[1] == QLatin1String("longopen"))
        return longOpen(args[2].toInt(), args[3], args.size() > 4 ? std::max(1, args[4].toInt()) : 3);
    if (args.size() >= 4 && args[1] == QLatin1String("longkey"))
        return longKey(args[2].toInt(), args[3], args.size() > 4 ? std::max(2, args[4].toInt()) : 10);
    if (args.size() >= 4 && args[1] == QLatin1String("spaced"))
        return spaced(args[2].toInt(), args[3], args.size() > 4 ? std::max(2, args[4].toInt()) : 10);
    if (args.size() >= 4 && args[1] == QLatin1String("replace"))
        return replace(args[2].toInt(), args[3], args.size() > 4 ? std::max(1, args[4].toInt()) : 3);
    std::fprintf(stderr, "usage: editor_bench open <txt|rtf> <MB> <ours|textedit|plaintextedit|cursor> [rounds]\n"
                         "       editor_bench after <MB> <ours|plaintextedit> [seconds]\n"
                         "       editor_bench longopen <MB> <ours|plaintextedit> [rounds]\n"
                         "       editor_bench longkey <MB> <ours|plaintextedit> [keys]\n"
                         "       editor_bench spaced <MB> <line|lines> [keys]\n"
                         "       editor_bench replace <MB> <plain|handler|atspi> [rounds]\n"
                         "       editor_bench listen\n");
    return 2;
}

#include "editor_bench.moc"
