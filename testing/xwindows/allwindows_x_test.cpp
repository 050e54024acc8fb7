// Every window of both programs on a real X display (run under xvfb-run with
// the xcb platform), watched by a watchdog on another thread: each tool of
// the launch table from each launcher, every settings and child window, every
// tab page, and every place that takes a file the user names fed a FIFO, a
// link to /dev/zero, a folder named like a file, a 4 GB sparse file and
// hostile pictures and clips. Each step must leave the window thread
// answering within 2 s and the process's peak memory under 100 MB above what
// it was before the step.
#include "watchdog.h"

#include "applist/form5.h"
#include "applist/form6.h"
#include "archive/form9.h"
#include "capture/form11.h"
#include "capture/form29.h"
#include "editor/form27.h"
#include "editor/form37.h"
#include "editor/form38.h"
#include "editor/form4.h"
#include "image/browser/form18.h"
#include "image/browser/form33.h"
#include "image/browser/frmfullscreen.h"
#include "image/browser/frmsum.h"
#include "image/magnifier/form13.h"
#include "image/plugins/form15.h"
#include "image/plugins/formslset.h"
#include "image/viewer/form14.h"
#include "image/viewer/form2.h"
#include "image/viewer/form28.h"
#include "image/viewer/form32.h"
#include "image/viewer3/form17.h"
#include "image/viewer3/form40.h"
#include "media/cd/form16.h"
#include "media/cd/form8.h"
#include "media/midi/form22.h"
#include "media/player/form3.h"
#include "media/player/form7.h"
#include "media/player2/form20.h"
#include "media/player2/form21.h"
#include "media/player2/form34.h"
#include "media/player3/form12.h"
#include "media/player3/form35.h"
#include "media/player3/form36.h"
#include "media/player3/formvx3.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/filelists.h"
#include "platform/forms/fonts.h"
#include "platform/forms/form.h"
#include "platform/forms/listbox.h"
#include "platform/system/system.h"
#include "repair/pages.h"
#include "shell/form1.h"
#include "shell/form19.h"
#include "shell/form23.h"
#include "shell/form24.h"
#include "shell/form25.h"
#include "shell/form26.h"
#include "shell/form30.h"
#include "shell/frmabout.h"
#include "shell/launch.h"
#include "sysinfo/form10.h"
#include "tags/editor/form31.h"
#include "testing/harness.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <set>

using namespace std::chrono_literals;

namespace {


// --- Measuring a step ---------------------------------------------------

qint64 statusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return 0;
}

// Resets the peak resident size to the current one.
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Runs one step on the window thread: the event loop must answer the
// watchdog within its limit throughout (a handler that holds the thread
// longer is a miss too) and the step stay within 100 MB of memory.
void step(const QString &name, const std::function<void()> &action)
{
    auto &dog = xwin::Watchdog::instance();
    dog.setStep(name);
    ASSERT_TRUE(dog.settle()) << name.toStdString();
    dog.takeFreezes();
    resetPeak();
    const qint64 before = statusKb("VmRSS:");
    try {
        action();
    } catch (const vx::RuntimeError &e) {
        // An error the window would report; not a freeze.
        (void)e;
    }
    const bool settled = dog.settle();
    const qint64 peak = statusKb("VmHWM:");
    const QStringList freezes = dog.takeFreezes();
    EXPECT_TRUE(freezes.isEmpty()) << "the window thread did not answer within 2 s during: "
                                   << freezes.join(QStringLiteral(", ")).toStdString()
                                   << " (its stack is on stderr)";
    EXPECT_TRUE(settled) << name.toStdString() << ": the event loop never ran dry";
    EXPECT_LT(peak - before, 100 * 1024) << name.toStdString() << " took " << (peak - before) / 1024 << " MB";
    dog.setStep(QStringLiteral("(between steps)"));
}

// --- The dialogs of the layer, answered by the test ------------------------

// Hostile things a user can point the suite at.
enum class Kind { Fifo, ZeroLink, Folder, Sparse, Png, Mp3, SlowClip };

QString kindName(Kind k)
{
    switch (k) {
    case Kind::Fifo: return QStringLiteral("Fifo");
    case Kind::ZeroLink: return QStringLiteral("ZeroLink");
    case Kind::Folder: return QStringLiteral("Folder");
    case Kind::Sparse: return QStringLiteral("Sparse");
    case Kind::Png: return QStringLiteral("Png");
    case Kind::Mp3: return QStringLiteral("Mp3");
    case Kind::SlowClip: return QStringLiteral("SlowClip");
    }
    return {};
}

// 8 x 8 grey picture, then a text chunk that claims 2 GB and holds 13 bytes.
QByteArray hostilePng()
{
    return QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000008000000080800000000e164e1570000000c4944415478"
                               "9c6360a00e0000004800012eb83c7e7fffffff74455874") +
           QByteArray("Comment\0hello", 13);
}

// Frame headers and silence: a clip the engine cannot make sense of quickly.
QByteArray hostileMp3()
{
    QByteArray frame = QByteArray::fromHex("fffb9064") + QByteArray(413, '\0');
    return frame.repeated(1200);
}

// MPEG-1 video: one picture, then megabytes of nothing the parser searches
// through for the picture's end. Only waiting (seconds) tells what it is.
QByteArray slowClipHead()
{
    return QByteArray::fromHex("000001b30a007813ffffe080000001b80008004000000100000ffff800000001010a00") +
           QByteArray(300, '\x55');
}

const QStringList kExtensions = {"jpg", "bmp", "png", "gif", "tif", "mp3", "wav", "mid", "avi", "mpg",
                                 "asx", "wax", "ram", "m3u", "cue", "txt", "rtf", "lzh", "zip", "cab",
                                 "tar", "rar", "arj", "exe", "sh"};

class Hostile {
public:
    Hostile()
    {
        for (Kind k : {Kind::Fifo, Kind::ZeroLink, Kind::Folder, Kind::Sparse, Kind::Png, Kind::Mp3, Kind::SlowClip}) {
            const QString dir = folder(k);
            QDir().mkpath(dir);
            // Each slow clip in a list costs seconds: one there, others when asked for.
            for (const QString &ext : k == Kind::SlowClip ? QStringList{QStringLiteral("mp3")} : kExtensions)
                make(k, QStringLiteral("x.") + ext);
        }
        xwin::Watchdog::instance().addRescueFolder(folder(Kind::Fifo));
    }
    QString folder(Kind k) const { return root_.path() + QLatin1Char('/') + kindName(k); }
    // The hostile thing of kind k named x.<ext> (made when missing).
    QString path(Kind k, const QString &ext) const
    {
        const QString name = QStringLiteral("x.") + ext;
        const QString p = folder(k) + QLatin1Char('/') + name;
        if (!QFileInfo(p).exists() && !QFileInfo(p).isSymLink())
            make(k, name);
        return p;
    }

private:
    void make(Kind k, const QString &name) const
    {
        const QString p = folder(k) + QLatin1Char('/') + name;
        const QByteArray lp = p.toLocal8Bit();
        switch (k) {
        case Kind::Fifo: ::mkfifo(lp.constData(), 0600); break;
        case Kind::ZeroLink: QFile::link(QStringLiteral("/dev/zero"), p); break;
        case Kind::Folder: QDir().mkpath(p); break;
        case Kind::Sparse: {
            QFile f(p);
            if (f.open(QIODevice::WriteOnly))
                f.resize(qint64(4) << 30);
            break;
        }
        case Kind::Png:
        case Kind::Mp3: {
            QFile f(p);
            if (f.open(QIODevice::WriteOnly))
                f.write(k == Kind::Png ? hostilePng() : hostileMp3());
            break;
        }
        case Kind::SlowClip: {
            QFile f(p);
            if (f.open(QIODevice::WriteOnly) && f.write(slowClipHead()) > 0)
                f.resize(6 << 20);
            break;
        }
        }
    }
    QTemporaryDir root_;
};

Hostile *g_hostile = nullptr;
Kind g_kind = Kind::Fifo;

void visitTabs(QWidget *w);

// Answers as a careful user: OK where there is only OK, No or Cancel to every
// question, the hostile thing of the moment in every file dialog (by the
// first pattern of the filter), cancel in colour and font dialogs. A modal
// window is shown, its tabs visited, and closed.
class Dialogs : public vx::DialogDriver {
public:
    int messageBox(const QString &text, int style, const QString &) override
    {
        messages << text;
        switch (style & 0x0F) {
        case vx::vbOKOnly: return vx::vbOK;
        case vx::vbYesNo: return vx::vbNo;
        case vx::vbRetryCancel:
        case vx::vbOKCancel:
        case vx::vbYesNoCancel: return vx::vbCancel;
        default: return vx::vbIgnore;
        }
    }
    void runModal(vx::Form &form) override
    {
        QPointer<vx::Form> f(&form);
        modals << form.objectName();
        form.show();
        if (++depth_ < 3) {
            xwin::Watchdog::instance().settle();
            if (f)
                visitTabs(f);
        }
        --depth_;
        if (f && !f->isUnloaded() && f->isVisible())
            f->hide();
    }
    void popupMenu(vx::Form &, vx::Menu &, QPoint) override {}
    std::optional<QStringList> fileDialog(const vx::FileDialogRequest &req) override
    {
        requests << req.filter;
        if (!g_hostile)
            return std::nullopt;
        static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
        const auto m = pattern.match(req.filter);
        QString ext = m.hasMatch() ? m.captured(1).toLower() : QStringLiteral("txt");
        // A hostile picture or clip under its own name where the filter takes it.
        for (const auto &[kind, own] :
             {std::pair{Kind::Png, "png"}, std::pair{Kind::Mp3, "mp3"}, std::pair{Kind::SlowClip, "mp3"}})
            if (g_kind == kind && req.filter.contains(QStringLiteral("*.") + QLatin1String(own), Qt::CaseInsensitive))
                ext = QLatin1String(own);
        return QStringList{g_hostile->path(g_kind, ext)};
    }
    std::optional<qint32> colorDialog(qint32, vx::Form *) override { return std::nullopt; }
    std::optional<vx::FontChoice> fontDialog(const vx::FontChoice &, vx::Form *) override { return std::nullopt; }

    QStringList messages;
    QStringList modals;
    QStringList requests;

private:
    int depth_ = 0;
};

Dialogs *g_dialogs = nullptr;

// Every tab page of every tab control and tab strip inside w, one at a time.
void visitTabs(QWidget *w)
{
    auto &dog = xwin::Watchdog::instance();
    for (QTabWidget *tabs : w->findChildren<QTabWidget *>()) {
        QPointer<QTabWidget> t(tabs);
        for (int i = 0; t && i < t->count(); ++i) {
            t->setCurrentIndex(i);
            dog.settle();
        }
    }
    for (QTabBar *bar : w->findChildren<QTabBar *>()) {
        QPointer<QTabBar> b(bar);
        if (qobject_cast<QTabWidget *>(bar->parentWidget()))
            continue;
        for (int i = 0; b && i < b->count(); ++i) {
            b->setCurrentIndex(i);
            dog.settle();
        }
    }
}

// Shows a window, every tab page, a larger size and the size it had: on a
// real display each of these lays the window out again.
void showAll(vx::Form &form)
{
    QPointer<vx::Form> f(&form);
    auto &dog = xwin::Watchdog::instance();
    if (!f->isVisible())
        f->show();
    // The display answers the mapping; the window lays itself out again.
    if (f->isVisible() && f->windowHandle())
        (void)QTest::qWaitForWindowExposed(f->windowHandle(), 5000);
    dog.settle();
    if (!f)
        return;
    // XWIN_SHOTS=folder: what the display shows, one picture per window.
    const QString shots = qEnvironmentVariable("XWIN_SHOTS");
    const QString shot = shots + QLatin1Char('/') + f->objectName() + QStringLiteral(".png");
    if (!shots.isEmpty() && !QFileInfo::exists(shot) && f->screen())
        f->screen()->grabWindow(f->winId()).save(shot);
    visitTabs(f);
    if (!f)
        return;
    const QSize was = f->size();
    f->resize(was + QSize(37, 23));
    dog.settle();
    if (f)
        f->resize(was);
    dog.settle();
}

// --- The fixture ------------------------------------------------------------

class AllWindowsX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        ASSERT_TRUE(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        vx::setEndThrows(true);
        auto d = std::make_unique<Dialogs>();
        g_dialogs = d.get();
        vx::setDialogDriver(std::move(d));
        vx::setShellDriver(std::make_unique<vxtest::FakeShell>());
    }
    void TearDown() override
    {
        xwin::Watchdog::instance().setStep(QStringLiteral("discarding the windows"));
        vx::FormRegistry::reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        xwin::Watchdog::instance().settle();
        vx::setDialogDriver(nullptr);
        vx::setShellDriver(nullptr);
        g_dialogs = nullptr;
    }

    QTemporaryDir config_;
};

template <class T>
void visit(const QString &name)
{
    step(name, [] { showAll(vx::instance<T>()); });
}

using Visit = std::pair<QString, std::function<void()>>;
#define VISIT(T) Visit{QStringLiteral(#T), [] { visit<T>(QStringLiteral(#T)); }}

// Every window of VX2002 and Velmend, the start-up window aside.
std::vector<Visit> everyWindow()
{
    return {VISIT(Form30),  VISIT(Form1),   VISIT(Form23),   VISIT(Form19),    VISIT(Form25),  VISIT(Form26),
            VISIT(frmAbout), VISIT(Form5),  VISIT(Form6),    VISIT(Form2),     VISIT(Form14),  VISIT(Form28),
            VISIT(Form32),  VISIT(frmSum),  VISIT(Form18),   VISIT(Form33),    VISIT(frmFullScreen),
            VISIT(Form13),  VISIT(Form15),  VISIT(FormSLSet), VISIT(Form40),   VISIT(Form17),  VISIT(Form3),
            VISIT(Form7),   VISIT(Form20),  VISIT(Form21),   VISIT(Form34),    VISIT(FormVX3), VISIT(Form12),
            VISIT(Form35),  VISIT(Form36),  VISIT(Form22),   VISIT(Form8),     VISIT(Form16),  VISIT(Form31),
            VISIT(Form4),   VISIT(Form27),  VISIT(Form37),   VISIT(Form38),    VISIT(Form9),   VISIT(Form10),
            VISIT(Form11),  VISIT(Form29),  VISIT(repair::Form01), VISIT(repair::Form02), VISIT(repair::Form03),
            VISIT(repair::Form04), VISIT(repair::Form05)};
}

// The program starts as it does for the user, then each launcher opens and
// closes each tool of the launch table, showing every window that is up.
TEST_F(AllWindowsX, EveryToolOfEveryLauncherAnswers)
{
    step(QStringLiteral("start-up"), [] { vx::instance<Form24>(); });
    for (const auto &[launcher, name] : {std::pair{shell::Launcher::Form30, QStringLiteral("Form30")},
                                         std::pair{shell::Launcher::Form1, QStringLiteral("Form1")},
                                         std::pair{shell::Launcher::Form23, QStringLiteral("Form23")}}) {
        step(name, [launcher] {
            if (launcher == shell::Launcher::Form30)
                showAll(vx::instance<Form30>());
            else if (launcher == shell::Launcher::Form1)
                showAll(vx::instance<Form1>());
            else
                showAll(vx::instance<Form23>());
        });
        for (const shell::ToolRow &row : shell::tools()) {
            const QString what = name + QStringLiteral(" opens ") + row.window.name;
            step(what, [&row, launcher] {
                shell::launch(row.id, launcher);
                for (vx::Form *f : vx::FormRegistry::all())
                    if (f->isVisible())
                        showAll(*f);
            });
            step(name + QStringLiteral(" closes ") + row.window.name, [&row, launcher] {
                if (row.window.isVisible())
                    shell::launch(row.id, launcher);
            });
        }
    }
}

TEST_F(AllWindowsX, EveryWindowAndTabAnswers)
{
    for (const auto &[name, run] : everyWindow())
        run();
    // Whatever the windows loaded beside them (settings, pictures, lists).
    for (vx::Form *f : vx::FormRegistry::all()) {
        QPointer<vx::Form> p(f);
        step(f->objectName() + QStringLiteral(" again"), [p] {
            if (p)
                showAll(*p);
        });
    }
}

// The running programs' list on its tab: a list that scrolls sideways by a
// set extent must settle on a real display and answer each control.
TEST_F(AllWindowsX, SystemInformationFileCheckTabAnswers)
{
    Form10 &f = vx::instance<Form10>();
    step(QStringLiteral("Form10 shown"), [&f] { showAll(f); });
    step(QStringLiteral("Form10 report"), [&f] { f.Command8_Click(); });
    step(QStringLiteral("Form10 file check tab"), [&f] { f.SSTab1.setTab(Form10::FileCheck); });
    ASSERT_GT(f.List1.ListCount(), 0);
    const bool bar = f.List1.horizontalScrollBar()->isVisible();
    const QRect view = f.List1.viewport()->geometry();
    for (QWidget *w : f.SSTab1.page(Form10::FileCheck)->findChildren<QWidget *>()) {
        QPointer<QWidget> p(w);
        step(QStringLiteral("Form10 focus ") + w->objectName(), [p] {
            if (p && p->isVisible())
                p->setFocus(Qt::TabFocusReason);
        });
    }
    for (vx::CommandButton *b : {&f.Command6, &f.Command13, &f.Command14})
        step(QStringLiteral("Form10 click ") + b->objectName(), [b] { b->click(); });
    step(QStringLiteral("Form10 List1 click"), [&f] { f.List1.setListIndex(f.List1.ListCount() - 1); });
    step(QStringLiteral("Form10 List1 scrolled"),
         [&f] { f.List1.horizontalScrollBar()->setValue(f.List1.horizontalScrollBar()->maximum()); });
    if (const QString shots = qEnvironmentVariable("XWIN_SHOTS"); !shots.isEmpty())
        f.screen()->grabWindow(f.winId()).save(shots + QStringLiteral("/Form10_FileCheck.png"));
    EXPECT_EQ(f.List1.horizontalScrollBar()->isVisible(), bar);
    EXPECT_EQ(f.List1.viewport()->geometry(), view);
    EXPECT_GT(f.List1.horizontalScrollBar()->maximum(), 0);
}

// --- Files the user names ---------------------------------------------------

struct Entry {
    QString name;
    std::vector<Kind> kinds;
    std::function<void(Kind)> run;
};

const std::vector<Kind> kFiles = {Kind::Fifo, Kind::ZeroLink, Kind::Folder, Kind::Sparse};
std::vector<Kind> with(std::vector<Kind> k, std::initializer_list<Kind> more)
{
    k.insert(k.end(), more);
    return k;
}

// Sends a real drag and drop of `path` to every widget of the window that
// takes dropped files.
void dropOnEveryTarget(vx::Form &form, const QString &path)
{
    QList<QWidget *> targets = form.findChildren<QWidget *>();
    targets.prepend(&form);
    for (QWidget *w : targets) {
        QPointer<QWidget> p(w);
        if (!p || !p->acceptDrops() || !p->isVisible())
            continue;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = p->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(p, &enter);
        if (!p || !enter.isAccepted())
            continue;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(p, &drop);
        xwin::Watchdog::instance().settle();
    }
}

// Opens the hostile folder as the user would (the window's folder list, else
// its file list directly) and clicks, then double-clicks, each file listed
// by the window's own pattern.
void clickEveryFile(vx::Form &form, const QString &folder)
{
    for (vx::DirListBox *dirs : form.findChildren<vx::DirListBox *>()) {
        dirs->setPath(folder);
        xwin::Watchdog::instance().settle();
    }
    for (vx::FileListBox *list : form.findChildren<vx::FileListBox *>()) {
        QPointer<vx::FileListBox> l(list);
        if (l->Path() != folder)
            l->setPath(folder);
        for (int i = 0; l && i < l->ListCount(); ++i) {
            l->setListIndex(i);
            if (l && l->DblClick)
                l->DblClick();
            xwin::Watchdog::instance().settle();
        }
    }
}

template <class T>
T &shown()
{
    T &f = vx::instance<T>();
    if (!f.isVisible())
        f.show();
    return f;
}

template <class T>
Entry drop(const QString &name, std::vector<Kind> kinds, const QString &ext)
{
    return {name + QStringLiteral("_Drop_") + ext, std::move(kinds),
            [ext](Kind k) { dropOnEveryTarget(shown<T>(), g_hostile->path(k, ext)); }};
}
template <class T>
Entry list(const QString &name, std::vector<Kind> kinds)
{
    return {name + QStringLiteral("_List"), std::move(kinds),
            [](Kind k) { clickEveryFile(shown<T>(), g_hostile->folder(k)); }};
}
template <class T>
Entry open(const QString &name, std::vector<Kind> kinds, void (T::*handler)())
{
    return {name, std::move(kinds), [handler](Kind) { (shown<T>().*handler)(); }};
}

std::vector<Entry> entries()
{
    const auto pic = with(kFiles, {Kind::Png});
    const auto media = with(kFiles, {Kind::Mp3, Kind::SlowClip});
    const auto all = with(kFiles, {Kind::Png, Kind::Mp3});
    return {
        // Pictures.
        open<Form2>("Form2_Open", pic, &Form2::IDMOPEN_Click),
        list<Form2>("Form2", pic),
        drop<Form2>("Form2", pic, "jpg"),
        drop<Form32>("Form32", pic, "png"),
        list<frmSum>("frmSum", pic),
        drop<Form33>("Form33", pic, "png"),
        open<Form15>("Form15_Open", pic, &Form15::Command1_Click),
        list<Form15>("Form15", pic),
        open<Form40>("Form40_Open", pic, &Form40::Command1_Click),
        list<Form40>("Form40", pic),
        open<Form14>("Form14_Skin", pic, &Form14::Command6_Click),
        open<Form18>("Form18_Skin", pic, &Form18::Command6_Click),
        open<Form7>("Form7_Skin", pic, &Form7::Command6_Click),
        open<Form21>("Form21_Skin", pic, &Form21::Command18_Click),
        open<Form16>("Form16_Skin", pic, &Form16::Command6_Click),
        // Media and playlists.
        list<Form3>("Form3", media),
        drop<Form3>("Form3", media, "mp3"),
        drop<Form3>("Form3", kFiles, "asx"),
        list<Form20>("Form20", media),
        drop<Form20>("Form20", media, "mp3"),
        drop<Form34>("Form34", media, "mp3"),
        list<FormVX3>("FormVX3", media),
        drop<FormVX3>("FormVX3", media, "mp3"),
        drop<FormVX3>("FormVX3", kFiles, "ram"),
        drop<Form35>("Form35", media, "mp3"),
        open<Form12>("Form12_Open", media, &Form12::Command18_Click),
        // Tags.
        open<Form31>("Form31_Open", media, &Form31::Open_Click),
        // Text.
        open<Form4>("Form4_Open", kFiles, &Form4::IDMOpenFile_Click),
        list<Form4>("Form4", kFiles),
        drop<Form4>("Form4", kFiles, "txt"),
        drop<Form4>("Form4", kFiles, "rtf"),
        // Archives.
        drop<Form9>("Form9", kFiles, "lzh"),
        drop<Form9>("Form9", kFiles, "zip"),
        drop<Form9>("Form9", kFiles, "cab"),
        drop<Form9>("Form9", kFiles, "tar"),
        drop<Form9>("Form9", kFiles, "rar"),
        drop<Form9>("Form9", kFiles, "arj"),
        list<Form9>("Form9", kFiles),
        // System information.
        {QStringLiteral("Form10_Check"), all,
         [](Kind k) {
             Form10 &f = shown<Form10>();
             f.Text2.setText(g_hostile->path(k, QStringLiteral("txt")));
             f.Command6_Click();
             f.Command13_Click();
         }},
        {QStringLiteral("Form10_Browse"), kFiles,
         [](Kind) {
             Form10 &f = shown<Form10>();
             f.Command14_Click();
             f.Command6_Click();
             f.Command13_Click();
         }},
        {QStringLiteral("Form10_Search"), kFiles,
         [](Kind k) {
             Form10 &f = shown<Form10>();
             f.SSTab1.setTab(Form10::FileSearch);
             f.Dir1.setPath(g_hostile->folder(k));
             f.chkSubFolder.setValue(1);
             f.cmdFind_Click();
             // The search walks off the window thread; its end is an event.
             EXPECT_TRUE(QTest::qWaitFor([&f] { return !f.Searching(); }, 20000));
             f.List2.setListIndex(0);
             f.Command17_Click();
         }},
        open<Form10>("Form10_SaveList", kFiles, &Form10::Command15_Click),
        // Capture.
        open<Form11>("Form11_Save", kFiles, &Form11::Command2_Click),
        // Application list.
        list<Form6>("Form6", kFiles),
        open<Form6>("Form6_Add", kFiles, &Form6::AddProgram_Click),
    };
}

struct Case {
    Entry entry;
    Kind kind;
    QString name() const { return entry.name + QLatin1Char('_') + kindName(kind); }
};

std::vector<Case> cases()
{
    std::vector<Case> r;
    for (const Entry &e : entries())
        for (Kind k : e.kinds)
            r.push_back({e, k});
    return r;
}

void PrintTo(const Case &c, std::ostream *os) { *os << c.name().toStdString(); }

class UserFilesX : public AllWindowsX, public ::testing::WithParamInterface<Case> {};

TEST_P(UserFilesX, AnswersAtOnce)
{
    const Case &c = GetParam();
    g_kind = c.kind;
    step(c.name(), [&c] { c.entry.run(c.kind); });
}

INSTANTIATE_TEST_SUITE_P(Everywhere, UserFilesX, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             return info.param.name().toStdString();
                         });

} // namespace

// Freed blocks the address checker holds back count in the resident size: a
// parser that reallocates as it searches (the slow clip) would seem to take
// hundreds of MB. A smaller hold keeps the memory bound about the program.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=32";
}

int main(int argc, char **argv)
{
    // A real display: the one xvfb-run gives us (discovery runs us too).
    const bool listing = [&] {
        for (int i = 1; i < argc; ++i)
            if (QByteArray(argv[i]).startsWith("--gtest_list_tests"))
                return true;
        return false;
    }();
    if (listing || qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else
        qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false);
    vx::installFonts(app);
    vx::setAppTitle(QStringLiteral("Velmora 2002"));
    ::testing::InitGoogleTest(&argc, argv);
    Hostile hostile;
    g_hostile = &hostile;
    xwin::Watchdog::instance().start(2s);
    const int rc = RUN_ALL_TESTS();
    xwin::Watchdog::instance().stop();
    g_hostile = nullptr;
    return rc;
}
