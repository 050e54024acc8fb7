#include "platform/store/store.h"

#include "platform/core/errors.h"

#include <QDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::store {

namespace detail {
// How long a writer waits for another process's lock. Tests shorten it.
std::atomic<int> lockTimeoutMs{10000};
void setLockTimeout(int ms) { lockTimeoutMs = ms; }
} // namespace detail

namespace {

// ---------------------------------------------------------------- errors

[[noreturn]] void failErrno(int e, const QString &path)
{
    int number;
    switch (e) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: number = err::PermissionDenied; break;
    case ENOSPC:
    case EDQUOT: number = err::DiskFull; break;
    case EIO: number = err::DeviceIO; break;
    default: number = err::PathFileAccess; break;
    }
    raise(number, path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(e)));
}

[[noreturn]] void failMissing(const QString &what)
{
    raise(err::InvalidCall, what);
}

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { int fd = fd_; fd_ = -1; return fd; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// ---------------------------------------------------------------- paths

QString configDir()
{
    // Relative values are invalid by the XDG rules and must be ignored.
    QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (dir.isEmpty() || !dir.startsWith(QLatin1Char('/')))
        dir = QDir::homePath() + QStringLiteral("/.config");
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

QString fileName(const QString &app)
{
    QString name = app;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return name + QStringLiteral(".ini");
}

QByteArray native(const QString &path) { return path.toUtf8(); }

// mkdir -p; new folders are private, as XDG asks.
void makeDir(const QString &dir)
{
    const QByteArray d = native(dir);
    struct stat st;
    if (::stat(d.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            failErrno(ENOTDIR, dir);
        return;
    }
    for (qsizetype i = d.indexOf('/', 1); i != -1; i = d.indexOf('/', i + 1)) {
        const QByteArray part = d.left(i);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            failErrno(errno, QString::fromUtf8(part));
    }
    if (::mkdir(d.constData(), 0700) != 0 && errno != EEXIST)
        failErrno(errno, dir);
    if (::stat(d.constData(), &st) != 0)
        failErrno(errno, dir);
    if (!S_ISDIR(st.st_mode))
        failErrno(ENOTDIR, dir);
}

// Reads the whole file; a missing file reads as empty. False (errno set) when
// it exists but cannot be read.
bool readFile(const QByteArray &path, QByteArray &out, bool &exists)
{
    out.clear();
    exists = false;
    Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return errno == ENOENT || errno == ENOTDIR;
    exists = true;
    struct stat st;
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0)
        out.reserve(qsizetype(st.st_size));
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        out.append(buf, n);
    }
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Best effort: the rename or unlink it follows has taken effect already, so a
// failure here must not report the change as failed.
void syncDir(const QByteArray &dir)
{
    Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        (void)::fsync(fd.get());
}

QByteArray dirOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// ---------------------------------------------------------------- lock

// Waits for flock on fd until the deadline. Returns 0 with the lock held,
// ETIMEDOUT when it expired (fd then belongs to a helper thread, which drops
// it once the lock is finally granted), or an errno.
int waitForLock(Fd &fd, std::chrono::steady_clock::time_point deadline)
{
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
        return 0;
    if (errno != EWOULDBLOCK && errno != EINTR)
        return errno;

    // A blocking flock is woken by the kernel as soon as the holder lets go;
    // polling would lose nearly every race against a busy writer.
    struct Wait {
        std::mutex m;
        std::condition_variable cv;
        int fd = -1;
        bool done = false;
        bool abandoned = false;
        int error = 0;
    };
    auto w = std::make_shared<Wait>();
    w->fd = fd.get();
    try {
        std::thread([w] {
            int r;
            do
                r = ::flock(w->fd, LOCK_EX);
            while (r != 0 && errno == EINTR);
            const int e = r == 0 ? 0 : errno;
            std::lock_guard g(w->m);
            if (w->abandoned) {
                ::close(w->fd);
                return;
            }
            w->done = true;
            w->error = e;
            w->cv.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return EAGAIN;
    }
    std::unique_lock g(w->m);
    if (!w->cv.wait_until(g, deadline, [&] { return w->done; })) {
        w->abandoned = true;
        fd.release();
        return ETIMEDOUT;
    }
    return w->error;
}

Fd acquireLock(const QString &lockPath)
{
    const QByteArray path = native(lockPath);
    const auto deadline = std::chrono::steady_clock::now()
                          + std::chrono::milliseconds(detail::lockTimeoutMs.load());
    for (;;) {
        // NFS emulates flock with fcntl locks, which want a writable fd.
        Fd fd(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
        if (!fd.valid() && errno == EACCES)
            fd.reset(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!fd.valid())
            failErrno(errno, lockPath);
        const int e = waitForLock(fd, deadline);
        if (e == ETIMEDOUT)
            raise(err::PermissionDenied, lockPath + QStringLiteral("：他のプログラムが設定を使用中です。"));
        if (e != 0)
            failErrno(e, lockPath);
        // If the lock file was removed and recreated meanwhile, our lock
        // excludes nobody: start over on the current file.
        struct stat held, now;
        if (::fstat(fd.get(), &held) == 0 && ::stat(path.constData(), &now) == 0
            && held.st_dev == now.st_dev && held.st_ino == now.st_ino)
            return Fd(fd.release());
        if (std::chrono::steady_clock::now() > deadline)
            raise(err::PermissionDenied, lockPath + QStringLiteral(": lock file keeps changing"));
    }
}

// ---------------------------------------------------------------- escaping

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Only ASCII blanks: an ideographic space is part of a value.
QByteArrayView trimmed(QByteArrayView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString hex(uint v, int width)
{
    return QStringLiteral("%1").arg(v, width, 16, QLatin1Char('0')).toUpper();
}

// Escapes text so that one line holds it and reading gives it back exactly.
// Names also hide the characters that structure the file.
QByteArray escape(const QString &s, bool name)
{
    QString out;
    out.reserve(s.size() + 8);
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && s[i + 1].isLowSurrogate()) {
            out += c;
            out += s[++i];
        } else if (c.isSurrogate()) {
            out += QStringLiteral("\\u") + hex(u, 4); // UTF-8 cannot carry a lone half
        } else if (u == '\\') {
            out += QStringLiteral("\\\\");
        } else if (u == '\n') {
            out += QStringLiteral("\\n");
        } else if (u == '\r') {
            out += QStringLiteral("\\r");
        } else if (u == '\t') {
            out += QStringLiteral("\\t");
        } else if (u < 0x20 || u == 0x7F) {
            out += QStringLiteral("\\x") + hex(u, 2);
        } else if (u == ' ' && (i == 0 || i == n - 1)) {
            out += QStringLiteral("\\s"); // the reader trims blanks around names and values
        } else if (name && (u == '=' || u == '[' || u == ']' || (i == 0 && (u == ';' || u == '#')))) {
            out += QStringLiteral("\\x") + hex(u, 2);
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

int hexValue(QStringView s)
{
    bool ok = false;
    const uint v = s.toUInt(&ok, 16);
    return ok ? int(v) : -1;
}

QString unescape(QByteArrayView raw)
{
    const QString s = QString::fromUtf8(raw);
    if (!s.contains(QLatin1Char('\\')))
        return s;
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        if (c != QLatin1Char('\\') || i + 1 == n) {
            out += c;
            continue;
        }
        const char16_t next = s[i + 1].unicode();
        int digits = 0;
        switch (next) {
        case '\\': out += QLatin1Char('\\'); ++i; continue;
        case 'n': out += QLatin1Char('\n'); ++i; continue;
        case 'r': out += QLatin1Char('\r'); ++i; continue;
        case 't': out += QLatin1Char('\t'); ++i; continue;
        case 's': out += QLatin1Char(' '); ++i; continue;
        case 'x': digits = 2; break;
        case 'u': digits = 4; break;
        default: break;
        }
        const int v = digits && i + 2 + digits <= n ? hexValue(QStringView(s).mid(i + 2, digits)) : -1;
        if (v < 0) {
            out += c; // a hand-written backslash, e.g. a Windows path
            continue;
        }
        out += QChar(char16_t(v));
        i += 1 + digits;
    }
    return out;
}

QByteArray keyLine(const QString &key, const QString &value)
{
    return escape(key, true) + '=' + escape(value, false);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------- document

// The file as lines, so that whatever a change does not touch is written back
// byte for byte, comments and hand formatting included.
struct Entry {
    QByteArray raw;
    bool isKey = false;
    QString key;
    // Where the value sits in raw; most values are never asked for.
    qsizetype valueAt = 0;
    qsizetype valueSize = 0;

    QString value() const { return unescape(QByteArrayView(raw).sliced(valueAt, valueSize)); }
};

Entry keyEntry(const QString &key, const QString &value)
{
    Entry e;
    e.raw = keyLine(key, value);
    e.isKey = true;
    e.key = key;
    e.valueAt = e.raw.indexOf('=') + 1;
    e.valueSize = e.raw.size() - e.valueAt;
    return e;
}

struct Section {
    QList<QByteArray> lead; // blank and comment lines above the header
    QByteArray header;
    QString name;
    QList<Entry> body;
};

struct Doc {
    QByteArray bom;
    QList<QByteArray> preamble;
    QList<Section> sections; // a name may repeat in a hand-edited file

    static Doc parse(const QByteArray &data);
    QByteArray bytes() const;

    const Entry *find(const QString &section, const QString &key) const;
    bool endsBlank() const;
};

Doc Doc::parse(const QByteArray &data)
{
    Doc doc;
    QByteArray text = data;
    if (text.startsWith("\xEF\xBB\xBF")) {
        doc.bom = text.left(3);
        text.remove(0, 3);
    }
    if (text.isEmpty())
        return doc;
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n'))
        lines.removeLast();

    for (QByteArray &line : lines) {
        const QByteArrayView t = trimmed(line);
        if (t.startsWith('[') && t.contains(']')) {
            Section s;
            s.name = unescape(trimmed(t.sliced(1, t.indexOf(']') - 1)));
            s.header = std::move(line);
            // Comments and blanks just above a header belong to that section.
            if (!doc.sections.isEmpty()) {
                QList<Entry> &prev = doc.sections.last().body;
                while (!prev.isEmpty() && !prev.last().isKey)
                    s.lead.prepend(prev.takeLast().raw);
            }
            doc.sections.append(std::move(s));
            continue;
        }
        if (doc.sections.isEmpty()) {
            doc.preamble.append(std::move(line));
            continue;
        }
        Entry e;
        const qsizetype eq = t.indexOf('=');
        if (eq >= 0 && !t.startsWith(';') && !t.startsWith('#')) {
            e.isKey = true;
            e.key = unescape(trimmed(t.first(eq)));
            const QByteArrayView v = trimmed(t.sliced(eq + 1));
            e.valueAt = v.data() - line.constData();
            e.valueSize = v.size();
        }
        e.raw = std::move(line);
        doc.sections.last().body.append(std::move(e));
    }
    return doc;
}

QByteArray Doc::bytes() const
{
    if (preamble.isEmpty() && sections.isEmpty())
        return {};
    QByteArray out = bom;
    const auto put = [&out](const QByteArray &line) {
        out += line;
        out += '\n';
    };
    for (const QByteArray &l : preamble)
        put(l);
    for (const Section &s : sections) {
        for (const QByteArray &l : s.lead)
            put(l);
        put(s.header);
        for (const Entry &e : s.body)
            put(e.raw);
    }
    return out;
}

const Entry *Doc::find(const QString &section, const QString &key) const
{
    for (const Section &s : sections) {
        if (!sameName(s.name, section))
            continue;
        for (const Entry &e : s.body)
            if (e.isKey && sameName(e.key, key))
                return &e;
    }
    return nullptr;
}

bool Doc::endsBlank() const
{
    const QByteArray *last = nullptr;
    if (!preamble.isEmpty())
        last = &preamble.last();
    if (!sections.isEmpty()) {
        const Section &s = sections.last();
        last = s.body.isEmpty() ? &s.header : &s.body.last().raw;
    }
    return last && trimmed(*last).isEmpty();
}

// ---------------------------------------------------------------- I/O

struct Store {
    QString dir;
    QString path;
};

Store locate(const QString &app)
{
    const QString dir = configDir();
    return {dir, dir + QLatin1Char('/') + fileName(app)};
}

bool load(const QString &app, Doc &doc)
{
    QByteArray data;
    bool exists;
    if (!readFile(native(locate(app).path), data, exists))
        return false;
    doc = Doc::parse(data);
    return true;
}

// A dotfile manager's symlink stays a symlink: replace what it points to.
QByteArray writeTarget(const QByteArray &path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *real = ::realpath(path.constData(), nullptr)) {
            QByteArray target(real);
            ::free(real);
            return target;
        }
    }
    return path;
}

void replaceFile(const QByteArray &path, const QByteArray &data)
{
    const QByteArray target = writeTarget(path);
    const QByteArray tmp = target + ".tmp." + QByteArray::number(::getpid());
    const QString tmpName = QString::fromUtf8(tmp);

    ::unlink(tmp.constData());
    Fd fd(::open(tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid())
        failErrno(errno, tmpName);
    struct TmpGuard {
        const QByteArray &name;
        bool armed = true;
        ~TmpGuard()
        {
            if (armed)
                ::unlink(name.constData());
        }
    } guard{tmp};

    // Keep a private store private.
    struct stat st;
    if (::stat(target.constData(), &st) == 0 && ::fchmod(fd.get(), st.st_mode & 07777) != 0) {
        // Best effort: the default mode is still usable.
    }
    if (!writeAll(fd.get(), data) || ::fsync(fd.get()) != 0)
        failErrno(errno, tmpName);
    if (::close(fd.release()) != 0)
        failErrno(errno, tmpName);
    if (::rename(tmp.constData(), target.constData()) != 0)
        failErrno(errno, QString::fromUtf8(target));
    guard.armed = false;
    syncDir(dirOf(target));
}

// Temp files of writers killed mid-write. Only lock holders write them, so
// while we hold the lock every one left is stale.
void removeStaleTemps(const QString &dir, const QString &file)
{
    const QByteArray prefix = native(file) + ".tmp.";
    DIR *d = ::opendir(native(dir).constData());
    if (!d)
        return;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (!name.startsWith(prefix) || name.size() == prefix.size())
            continue;
        const QByteArray pid = name.mid(prefix.size());
        if (std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }))
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

// Read, change and write back under the lock, so that a change merges with
// whatever another process committed last and never revives what it removed.
template <typename Change>
void update(const QString &app, bool deleting, Change change)
{
    if (app.isEmpty())
        failMissing(QStringLiteral("empty application name"));
    const Store store = locate(app);
    const QByteArray path = native(store.path);

    if (deleting) {
        // Nothing to delete: leave the folder alone rather than create it.
        struct stat st;
        if (::stat(path.constData(), &st) != 0) {
            if (errno == ENOENT || errno == ENOTDIR)
                failMissing(store.path);
            failErrno(errno, store.path);
        }
    } else {
        makeDir(store.dir);
    }

    const Fd lock = acquireLock(store.path + QStringLiteral(".lock"));
    QByteArray old;
    bool exists;
    if (!readFile(path, old, exists))
        failErrno(errno, store.path);
    Doc doc = Doc::parse(old);
    change(doc);
    const QByteArray next = doc.bytes();

    removeStaleTemps(store.dir, fileName(app));
    if (next == old)
        return;
    if (next.isEmpty()) {
        if (::unlink(path.constData()) != 0 && errno != ENOENT)
            failErrno(errno, store.path);
        syncDir(native(store.dir));
        return;
    }
    replaceFile(path, next);
}

} // namespace

QString StorePath(const QString &app)
{
    return locate(app).path;
}

QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def)
{
    Doc doc;
    if (!load(app, doc))
        return def;
    const Entry *e = doc.find(section, key);
    return e ? e->value() : def;
}

void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value)
{
    if (section.isEmpty() || key.isEmpty())
        failMissing(QStringLiteral("empty section or key name"));
    update(app, false, [&](Doc &doc) {
        bool found = false;
        for (Section &s : doc.sections) {
            if (!sameName(s.name, section))
                continue;
            for (qsizetype i = 0; i < s.body.size();) {
                Entry &e = s.body[i];
                if (!e.isKey || !sameName(e.key, key)) {
                    ++i;
                } else if (found) {
                    s.body.removeAt(i); // a hand-made duplicate would shadow nothing but confuse
                } else {
                    found = true;
                    if (e.value() != value)
                        e = keyEntry(e.key, value);
                    ++i;
                }
            }
        }
        if (found)
            return;
        const Entry e = keyEntry(key, value);
        for (Section &s : doc.sections) {
            if (!sameName(s.name, section))
                continue;
            qsizetype at = 0;
            for (qsizetype i = 0; i < s.body.size(); ++i)
                if (s.body[i].isKey)
                    at = i + 1;
            s.body.insert(at, e);
            return;
        }
        Section s;
        if ((!doc.preamble.isEmpty() || !doc.sections.isEmpty()) && !doc.endsBlank())
            s.lead.append(QByteArray());
        s.header = '[' + escape(section, true) + ']';
        s.name = section;
        s.body.append(e);
        doc.sections.append(s);
    });
}

void DeleteSetting(const QString &app, const QString &section, const QString &key)
{
    update(app, true, [&](Doc &doc) {
        bool found = false;
        for (Section &s : doc.sections) {
            if (!sameName(s.name, section))
                continue;
            found |= s.body.removeIf([&](const Entry &e) { return e.isKey && sameName(e.key, key); }) > 0;
        }
        if (!found)
            failMissing(section + QLatin1Char('/') + key);
    });
}

void DeleteSection(const QString &app, const QString &section)
{
    update(app, true, [&](Doc &doc) {
        if (doc.sections.removeIf([&](const Section &s) { return sameName(s.name, section); }) == 0)
            failMissing(section);
    });
}

void DeleteApplication(const QString &app)
{
    update(app, true, [&](Doc &doc) {
        if (doc.sections.isEmpty())
            failMissing(app);
        doc.sections.clear();
        doc.preamble.clear();
    });
}

QStringList Sections(const QString &app)
{
    QStringList out;
    Doc doc;
    if (!load(app, doc))
        return out;
    for (const Section &s : doc.sections)
        if (!out.contains(s.name, Qt::CaseInsensitive))
            out.append(s.name);
    return out;
}

QStringList Keys(const QString &app, const QString &section)
{
    QStringList out;
    Doc doc;
    if (!load(app, doc))
        return out;
    for (const Section &s : doc.sections) {
        if (!sameName(s.name, section))
            continue;
        for (const Entry &e : s.body)
            if (e.isKey && !out.contains(e.key, Qt::CaseInsensitive))
                out.append(e.key);
    }
    return out;
}

} // namespace vx::store
