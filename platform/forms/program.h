#pragma once
// The program's run and end: handlers started by the user run through
// dispatch(), and End() stops everything at once.
#include <QObject>

#include <exception>
#include <functional>

namespace vx {

// Thrown by End() while the program runs under tests: the end is observed
// instead of the process dying.
struct ProgramEnded : std::exception {
    const char *what() const noexcept override { return "program ended"; }
};

// Ends the program at once: no closing handler of any window runs.
[[noreturn]] void End();
bool programEnded();
// Tests: End() throws ProgramEnded instead of leaving the process (and the
// ended state starts afresh).
void setEndThrows(bool throws);


// Runs an event handler started by the user. A run-time error that escapes it is
// shown as a message box (the program goes on); the end of the program stops it.
void dispatch(const std::function<void()> &handler);
// Runs a control's event handler, when one is set, as dispatch() does. The
// handler is copied first: it may unload the window that holds it.
void fire(const std::function<void()> &handler);

// Deletes a window's widget once no handler runs any more (at once when none
// does): one of its own handlers may still wait in a message box or a modal
// window whose event loop saw the unload.
void deleteWhenHandlersReturn(QObject *object);

} // namespace vx
