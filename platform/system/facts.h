#pragma once
// What Linux tells about the machine, read when asked: memory, a file system's
// space, running programs, host name, processor, operating system, uptime.
// Every size is 64-bit bytes.
#include <QString>
#include <QStringList>

#include <optional>

namespace vx::facts {

struct Memory {
    qint64 totalPhys = 0;
    qint64 availPhys = 0;
    int load = 0; // used share of physical memory, 0..100
    qint64 totalSwap = 0;
    qint64 availSwap = 0;
    qint64 totalVirtual = 0; // the process's address space
    qint64 availVirtual = 0; // what its mapped size leaves of it
};
// From /proc/meminfo and /proc/self/status; nothing when /proc/meminfo cannot be read.
std::optional<Memory> readMemory(const QString &meminfo = QStringLiteral("/proc/meminfo"),
                                 const QString &status = QStringLiteral("/proc/self/status"));

struct Space {
    qint64 freeToUser = 0;
    qint64 total = 0;
};
// The file system holding `path` (statvfs); zeros when it cannot be read.
Space readSpace(const QString &path);

// The executable of every running process whose link can be read, in PID order.
QStringList processExecutables(const QString &proc = QStringLiteral("/proc"));

// Host name, or nothing when it cannot be read.
std::optional<QString> hostName();

struct Processor {
    bool intel = false; // x86 or x86-64
    int count = 0;
    int family = -1;    // -1 unknown
    int model = -1;
    int stepping = -1;
};
Processor readProcessor(const QString &cpuinfo = QStringLiteral("/proc/cpuinfo"));

// NAME of os-release ("" when neither /etc/os-release nor /usr/lib/os-release has it).
QString osName(const QStringList &files = {QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")});
// The running kernel's major.minor.patch ("6.1.0" from "6.1.0-13-amd64").
QString kernelVersion();
QString kernelVersion(const QString &release);

// Milliseconds since the machine started (suspend included).
qint64 uptimeMs();

} // namespace vx::facts
