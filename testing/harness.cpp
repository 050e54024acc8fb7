#include "harness.h"

#include "platform/forms/menu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTimer>

#include <chrono>
#include <thread>

namespace vxtest {

namespace {
ScriptedDialogs *g_dialogs = nullptr;

// The first queued answer. Built in place: GCC 12 takes a copied optional of
// a Qt container for maybe uninitialised.
template <class T>
std::optional<T> takeFront(std::deque<std::optional<T>> &queue)
{
    std::optional<T> r;
    if (queue.front())
        r.emplace(std::move(*queue.front()));
    queue.pop_front();
    return r;
}
FakeShell *g_shell = nullptr;
} // namespace

int ScriptedDialogs::messageBox(const QString &text, int style, const QString &title)
{
    int answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else if ((style & 0x0F) == vx::vbOKOnly) {
        answer = vx::vbOK;
    } else {
        ADD_FAILURE() << "unanswered question: " << text.toStdString();
        answer = (style & 0x0F) == vx::vbYesNo ? vx::vbNo : vx::vbCancel;
    }
    messages.push_back({text, style, title, answer});
    return answer;
}

void ScriptedDialogs::runModal(vx::Form &form)
{
    modals.push_back(form.objectName());
    QPointer<vx::Form> f(&form);
    form.show();
    if (!modalScripts.empty()) {
        auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        script(form);
    }
    if (f && !f->isUnloaded() && f->isVisible())
        f->hide();
}

void ScriptedDialogs::popupMenu(vx::Form &form, vx::Menu &menu, QPoint)
{
    popups << form.objectName() + QLatin1Char('.') + menu.objectName();
    if (!popupScripts.empty()) {
        auto script = std::move(popupScripts.front());
        popupScripts.pop_front();
        script(menu);
    }
}

std::optional<QStringList> ScriptedDialogs::fileDialog(const vx::FileDialogRequest &req)
{
    fileRequests.push_back(req);
    if (files.empty()) {
        ADD_FAILURE() << "unanswered file dialog";
        return std::nullopt;
    }
    return takeFront(files);
}

std::optional<qint32> ScriptedDialogs::colorDialog(qint32, vx::Form *)
{
    if (colors.empty()) {
        ADD_FAILURE() << "unanswered colour dialog";
        return std::nullopt;
    }
    return takeFront(colors);
}

std::optional<vx::FontChoice> ScriptedDialogs::fontDialog(const vx::FontChoice &, vx::Form *)
{
    if (fonts.empty()) {
        ADD_FAILURE() << "unanswered font dialog";
        return std::nullopt;
    }
    return takeFront(fonts);
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList l;
    for (const auto &m : messages)
        l << m.text;
    return l;
}

void FakeShell::open(const QString &target, vx::Outcome done)
{
    opened << target;
    vx::tellLater(done, openResult);
}

void FakeShell::showProperties(const QString &path, vx::Outcome done)
{
    properties << path;
    vx::tellLater(done, propertiesResult);
}

qint64 FakeShell::start(const QString &program, const QStringList &args, vx::Outcome done)
{
    started << (QStringList{program} + args).join(QLatin1Char(' '));
    vx::tellLater(done, startResult);
    return ++next_;
}

void FakeShell::stop(qint64 handle) { stopped.push_back(handle); }

QString FakeShell::findProgram(const QString &name) { return programs.value(name); }

ScriptedDialogs &dialogs() { return *g_dialogs; }
FakeShell &shell() { return *g_shell; }

void GuiTest::SetUp()
{
    ASSERT_TRUE(config_.isValid());
    ASSERT_TRUE(program_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    vx::setAppPath(program_.path());
    vx::setEndThrows(true);
    auto d = std::make_unique<ScriptedDialogs>();
    g_dialogs = d.get();
    vx::setDialogDriver(std::move(d));
    auto s = std::make_unique<FakeShell>();
    g_shell = s.get();
    vx::setShellDriver(std::move(s));
}

void GuiTest::TearDown()
{
    vx::FormRegistry::reset();
    vx::HelpCloseAll();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    vx::setDialogDriver(nullptr);
    vx::setShellDriver(nullptr);
    g_dialogs = nullptr;
    g_shell = nullptr;
}

QString GuiTest::storeFile() const
{
    return config_.path() + QStringLiteral("/Velmora 200X.ini");
}

bool ends(const std::function<void()> &f)
{
    try {
        f();
    } catch (const vx::ProgramEnded &) {
        return true;
    }
    return false;
}

bool waitUntil(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        // Events are handled as they come; what is done on other threads is
        // looked at again every few milliseconds.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

bool waitWithoutEvents(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void writeTestImage(const QString &path, int w, int h, Qt::GlobalColor colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    ASSERT_TRUE(img.save(path)) << path.toStdString();
}

} // namespace vxtest
