#pragma once
// Outside programs the window thread never waits for: each is started and
// watched from the event loop, and its outcome told once, later.
#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QProcess;

namespace vx {

// Whether an outside program or service did what it was asked. Always called
// later from the event loop, never from inside the call that was given it.
using Outcome = std::function<void(bool ok)>;

// A program that ends with failure this soon after its start showed nothing.
inline constexpr int kSettleMs = 10000;

// Starts `program` (an argument vector, never a shell) and returns at once.
// `done` gets false when it cannot be started or ends with failure (or a
// crash) within kSettleMs, true when it ends well or still runs by then. The
// process belongs to `owner` and deletes itself once it ended; disconnecting
// its signals (an end on purpose) leaves `done` untold or told true.
QProcess *startWatched(const QString &program, const QStringList &args, QObject *owner, Outcome done);

// Tries attempt(0), attempt(1), ... in turn, each telling its outcome to the
// function it is given, until one succeeds; `done` gets whether one did.
void tryInTurn(int count, std::function<void(int index, Outcome next)> attempt, Outcome done);

// Tells `done` the outcome later from the event loop.
void tellLater(const Outcome &done, bool ok);

} // namespace vx
