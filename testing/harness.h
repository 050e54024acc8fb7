#pragma once
// Test harness: every test runs with a temporary settings folder and program
// folder, a fresh window registry, scripted dialogs and a recording shell.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/system/system.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vxtest {

struct MessageRecord {
    QString text;
    int style = 0;
    QString title;
    int answer = 0;
    int icon() const { return style & 0x70; }
    int buttons() const { return style & 0x0F; }
};

class ScriptedDialogs : public vx::DialogDriver {
public:
    // Answers for message boxes, in order. With none queued an OK-only box is
    // answered OK; any question then fails the test.
    std::deque<int> answers;
    std::vector<MessageRecord> messages;
    // Run while a window is shown modal; the window is hidden afterwards when
    // the script left it visible.
    std::deque<std::function<void(vx::Form &)>> modalScripts;
    QStringList modals;
    // File dialog answers: a list of paths, or nullopt for cancel.
    std::deque<std::optional<QStringList>> files;
    std::vector<vx::FileDialogRequest> fileRequests;
    std::deque<std::optional<qint32>> colors;
    std::deque<std::optional<vx::FontChoice>> fonts;
    QStringList popups; // "Form.Menu"
    // Run when a pop-up menu is shown (choose an entry by clicking it).
    std::deque<std::function<void(vx::Menu &)>> popupScripts;

    int messageBox(const QString &text, int style, const QString &title) override;
    void runModal(vx::Form &form) override;
    void popupMenu(vx::Form &form, vx::Menu &menu, QPoint globalPos) override;
    std::optional<QStringList> fileDialog(const vx::FileDialogRequest &req) override;
    std::optional<qint32> colorDialog(qint32 initial, vx::Form *owner) override;
    std::optional<vx::FontChoice> fontDialog(const vx::FontChoice &initial, vx::Form *owner) override;

    QStringList messageTexts() const;
};

class FakeShell : public vx::ShellDriver {
public:
    QStringList opened;
    QStringList properties;
    QStringList started;  // "program arg1 arg2"
    std::vector<qint64> stopped;
    QMap<QString, QString> programs; // name -> path found on the search path
    bool openResult = true;       // told later, as a desktop would
    bool propertiesResult = true; // told later, as a desktop would
    bool startResult = true;      // likewise

    void open(const QString &target, vx::Outcome done) override;
    void showProperties(const QString &path, vx::Outcome done) override;
    qint64 start(const QString &program, const QStringList &args, vx::Outcome done = {}) override;
    void stop(qint64 handle) override;
    QString findProgram(const QString &name) override;

private:
    qint64 next_ = 0;
};

ScriptedDialogs &dialogs();
FakeShell &shell();

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString programDir() const { return program_.path(); }
    QString configDir() const { return config_.path(); }
    // Path of the suite's settings file.
    QString storeFile() const;

private:
    QTemporaryDir config_;
    QTemporaryDir program_;
};

// True when running f ended the program.
bool ends(const std::function<void()> &f);

// Runs the event loop until `done` holds; false when `limitMs` passed first.
// Tests wait for what they need this way, never for a fixed time: the limit
// is generous, since a loaded machine can be many times slower.
bool waitUntil(const std::function<bool()> &done, int limitMs = 30000);
// The same without handling events: for what other threads do while a test
// holds the window thread on purpose.
bool waitWithoutEvents(const std::function<bool()> &done, int limitMs = 30000);

// Writes a small picture file (format from the suffix) for tests.
void writeTestImage(const QString &path, int w, int h, Qt::GlobalColor colour = Qt::red);

} // namespace vxtest
