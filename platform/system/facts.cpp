#include "facts.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTextStream>

#include <algorithm>
#include <climits>
#include <ctime>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace vx::facts {

namespace {
// "Key:   1234 kB" lines of a /proc file, values in bytes.
std::optional<QMap<QString, qint64>> readKbFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QMap<QString, qint64> values;
    // /proc files report a size of 0: read until the end.
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        QList<QByteArray> parts = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const qint64 v = parts.value(0).toLongLong(&ok);
        if (!ok)
            continue;
        const bool kb = parts.value(1) == "kB";
        values.insert(QString::fromLatin1(line.left(colon)), kb ? v * 1024 : v);
    }
    return values;
}

// The user address space of this process: its limit when one is set, else
// what the architecture gives a 64-bit (or 32-bit) process.
qint64 addressSpace()
{
    rlimit lim{};
    if (getrlimit(RLIMIT_AS, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY && lim.rlim_cur < (1ull << 62))
        return static_cast<qint64>(lim.rlim_cur);
    if (sizeof(void *) == 4)
        return qint64(3) << 30;
    const QString arch = QSysInfo::currentCpuArchitecture();
    if (arch == QLatin1String("arm64"))
        return qint64(1) << 48;
    return qint64(1) << 47; // x86-64 and most others with 4-level tables
}
} // namespace

std::optional<Memory> readMemory(const QString &meminfo, const QString &status)
{
    const auto mem = readKbFile(meminfo);
    if (!mem || !mem->contains(QStringLiteral("MemTotal")))
        return std::nullopt;
    Memory m;
    m.totalPhys = mem->value(QStringLiteral("MemTotal"));
    // Kernels before 3.14 have no MemAvailable: free plus the page cache.
    m.availPhys = mem->contains(QStringLiteral("MemAvailable"))
                      ? mem->value(QStringLiteral("MemAvailable"))
                      : mem->value(QStringLiteral("MemFree")) + mem->value(QStringLiteral("Cached"));
    m.availPhys = std::clamp<qint64>(m.availPhys, 0, m.totalPhys);
    if (m.totalPhys > 0)
        m.load = static_cast<int>(((m.totalPhys - m.availPhys) * 100 + m.totalPhys / 2) / m.totalPhys);
    m.totalSwap = mem->value(QStringLiteral("SwapTotal"));
    m.availSwap = mem->value(QStringLiteral("SwapFree"));
    m.totalVirtual = addressSpace();
    const auto self = readKbFile(status);
    const qint64 used = self ? self->value(QStringLiteral("VmSize")) : 0;
    m.availVirtual = std::max<qint64>(0, m.totalVirtual - used);
    return m;
}

Space readSpace(const QString &path)
{
    struct statvfs s{};
    if (path.isEmpty() || ::statvfs(QFile::encodeName(path).constData(), &s) != 0)
        return {};
    const qint64 unit = static_cast<qint64>(s.f_frsize ? s.f_frsize : s.f_bsize);
    return {static_cast<qint64>(s.f_bavail) * unit, static_cast<qint64>(s.f_blocks) * unit};
}

QStringList processExecutables(const QString &proc)
{
    std::vector<qint64> pids;
    const QStringList names = QDir(proc).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &n : names) {
        bool ok = false;
        const qint64 pid = n.toLongLong(&ok);
        if (ok && pid > 0)
            pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    QStringList out;
    const QByteArray base = QFile::encodeName(proc);
    std::vector<char> buf(PATH_MAX + 1);
    for (qint64 pid : pids) {
        const QByteArray link = base + '/' + QByteArray::number(pid) + "/exe";
        const ssize_t n = ::readlink(link.constData(), buf.data(), buf.size() - 1);
        if (n <= 0)
            continue; // kernel threads, other users' processes
        out << QFile::decodeName(QByteArray(buf.data(), n));
    }
    return out;
}

std::optional<QString> hostName()
{
    std::vector<char> buf(256 + 1, 0);
    if (::gethostname(buf.data(), buf.size() - 1) != 0 || buf[0] == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(buf.data());
}

Processor readProcessor(const QString &cpuinfo)
{
    Processor p;
    const QString arch = QSysInfo::currentCpuArchitecture();
    p.intel = arch == QLatin1String("x86_64") || arch == QLatin1String("i386");
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    p.count = online > 0 ? static_cast<int>(online) : 1;
    QFile f(cpuinfo);
    if (!p.intel || !f.open(QIODevice::ReadOnly))
        return p;
    // The first processor's block speaks for all.
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.trimmed().isEmpty())
            break;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray key = line.left(colon).trimmed();
        bool ok = false;
        const int v = line.mid(colon + 1).trimmed().toInt(&ok);
        if (!ok)
            continue;
        if (key == "cpu family")
            p.family = v;
        else if (key == "model")
            p.model = v;
        else if (key == "stepping")
            p.stepping = v;
    }
    return p;
}

QString osName(const QStringList &files)
{
    for (const QString &path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (const QByteArray &line : lines) {
            if (!line.startsWith("NAME="))
                continue;
            QString v = QString::fromUtf8(line.mid(5)).trimmed();
            if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
                v.back() == v.front())
                v = v.mid(1, v.size() - 2);
            v.replace(QLatin1String("\\\""), QLatin1String("\""));
            return v;
        }
        return QString(); // the first file found is the one that counts
    }
    return QString();
}

QString kernelVersion(const QString &release)
{
    // Up to three dot-separated numbers at the start.
    QStringList parts;
    QString cur;
    for (QChar c : release) {
        if (c.isDigit()) {
            cur += c;
        } else if (c == QLatin1Char('.') && !cur.isEmpty() && parts.size() < 2) {
            parts << cur;
            cur.clear();
        } else {
            break;
        }
    }
    if (!cur.isEmpty())
        parts << cur;
    while (!parts.isEmpty() && parts.size() < 3)
        parts << QStringLiteral("0");
    return parts.join(QLatin1Char('.'));
}

QString kernelVersion()
{
    utsname u{};
    if (::uname(&u) != 0)
        return QString();
    return kernelVersion(QString::fromLatin1(u.release));
}

qint64 uptimeMs()
{
    timespec ts{};
    if (::clock_gettime(CLOCK_BOOTTIME, &ts) != 0 && ::clock_gettime(CLOCK_MONOTONIC, &ts) != 0)
        return 0;
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace vx::facts
