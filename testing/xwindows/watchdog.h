#pragma once
// Watches the window thread from a thread of its own: a ping is posted to the
// window thread's event loop, and the loop answers it once it has handled the
// ping and run dry (a loop that keeps posting work to itself never answers).
// An answer later than the limit counts as a freeze: the window thread's
// stack goes to stderr and the step that was running is recorded.
#include <QString>
#include <QStringList>

#include <chrono>

namespace xwin {

class Watchdog {
public:
    static Watchdog &instance();
    // Starts watching the calling thread (the window thread).
    void start(std::chrono::milliseconds limit);
    void stop();
    // What the window thread is doing now (named in a freeze report).
    void setStep(const QString &step);
    // Freezes seen since the last call, each with its step.
    QStringList takeFreezes();
    // Runs the event loop until it has handled everything posted before this
    // call; false when it did not within `bound`.
    bool settle(std::chrono::milliseconds bound = std::chrono::seconds(20));
    // Folders whose FIFOs the watchdog opens from the other end when the
    // window thread is stuck, so that a blocked open returns and the run can
    // go on to report the rest.
    void addRescueFolder(const QString &folder);

private:
    Watchdog() = default;
};

// Prints the calling thread's stack to stderr (also from a signal handler).
void printStack();

} // namespace xwin
