#pragma once
// The cross-process lock every writer of the store holds: flock on a lock file
// beside the store, waited for up to a time-out.
#include "file.h"

namespace vx::store::detail {

// How long a writer waits for another process's lock (10 s; tests shorten it).
void setLockTimeout(int ms);
// Takes the lock; raises when it cannot be had in time or the file cannot be made.
Fd acquireLock(const QString &lockPath);

} // namespace vx::store::detail
