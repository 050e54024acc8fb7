#pragma once
// The lock a program holds while it runs, so a second copy can tell. It is a
// kernel lock (flock) on a file: it goes with the process however the process
// ends, so a copy that died never leaves a lock behind, and taking it writes
// nothing that must reach the disk first (no sync on the start-up path).
// Copies that use QLockFile on the same file see it held: QLockFile takes the
// same kernel lock and reads the same first lines (pid, name, host).
// Plain POSIX, no Qt.
#include <string>

namespace vx {

class InstanceLock {
public:
    enum class Result {
        Taken,   // this process holds it now
        Held,    // another running copy holds it
        Failed,  // the file cannot be used (no folder, no permission, not a file)
    };

    InstanceLock() = default;
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;
    // Releases the lock and removes its file.
    ~InstanceLock();

    // Takes the lock at `path`; `name` and `host` go into the file beside the pid.
    Result take(const std::string &path, const std::string &name, const std::string &host);
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace vx
