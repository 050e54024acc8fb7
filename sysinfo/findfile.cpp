#include "findfile.h"

#include <QFile>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace basFindFile {

QString AddBackslash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

WildcardPattern::WildcardPattern(const QString &pattern)
{
    all_ = pattern.isEmpty() || pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
    for (QChar c : pattern)
        if (c.unicode() >= 0x80)
            ascii_ = false;
    if (ascii_)
        bytes_ = pattern.toLatin1().toLower();
    else
        folded_ = pattern.toCaseFolded();
}

namespace {
template <class C, class Eq, class Next>
bool globMatch(const C *p, size_t pn, const C *s, size_t sn, Eq eq, Next next)
{
    size_t pi = 0, si = 0;
    size_t starP = SIZE_MAX, starS = 0;
    while (si < sn) {
        if (pi < pn && p[pi] == C('*')) {
            starP = ++pi;
            starS = si;
        } else if (pi < pn && p[pi] == C('?')) {
            ++pi;
            si = next(s, sn, si);
        } else if (pi < pn && eq(p[pi], s[si])) {
            ++pi;
            ++si;
        } else if (starP != SIZE_MAX) {
            pi = starP;
            starS = next(s, sn, starS);
            si = starS;
        } else {
            return false;
        }
    }
    while (pi < pn && p[pi] == C('*'))
        ++pi;
    return pi == pn;
}
} // namespace

bool WildcardPattern::matches(const char *name, size_t len) const
{
    if (all_)
        return true;
    if (ascii_) {
        // "?" takes one character, however many bytes it has in UTF-8.
        auto next = [](const char *s, size_t n, size_t i) {
            ++i;
            while (i < n && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
                ++i;
            return i;
        };
        auto eq = [](char p, char c) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            return p == c;
        };
        return globMatch(bytes_.constData(), static_cast<size_t>(bytes_.size()), name, len, eq, next);
    }
    const QString n = QFile::decodeName(QByteArray::fromRawData(name, static_cast<qsizetype>(len))).toCaseFolded();
    auto next = [](const QChar *s, size_t sz, size_t i) {
        ++i;
        if (i < sz && s[i].isLowSurrogate())
            ++i;
        return i;
    };
    auto eq = [](QChar a, QChar b) { return a == b; };
    return globMatch(folded_.constData(), static_cast<size_t>(folded_.size()), n.constData(),
                     static_cast<size_t>(n.size()), eq, next);
}

namespace {

// One folder: read by a reader thread (or the hand-out itself, when it gets
// there first), then handed out in order.
struct Node {
    enum State { Queued, Reading, Ready };
    QByteArray native; // with its trailing "/", as the file system spells it
    bool root = false; // the chosen folder may itself be a link
    State state = Queued;
    vx::EntryBatch files;
    std::vector<std::shared_ptr<Node>> subfolders;
};

class Walk {
public:
    Walk(const WildcardPattern &pattern, bool recurse, const std::atomic<bool> &cancel, int readers)
        : pattern_(pattern), recurse_(recurse), cancel_(cancel), readers_(static_cast<size_t>(std::max(0, readers)))
    {
    }

    void readerLoop()
    {
        for (;;) {
            std::shared_ptr<Node> n;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
                if (stop_)
                    return;
                n = std::move(queue_.front());
                queue_.pop_front();
                if (n->state != Node::Queued)
                    continue; // the hand-out took it itself
                n->state = Node::Reading;
            }
            read(*n);
            finish(*n);
        }
    }

    void enqueue(const std::shared_ptr<Node> &n)
    {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(n);
        }
        wake_.notify_one();
    }

    // Waits until the node was read, reading it here when no reader has
    // started on it (a thread switch per folder costs more than the reading);
    // false when cancelled meanwhile.
    bool waitFor(Node &n)
    {
        std::unique_lock lock(mutex_);
        if (n.state == Node::Queued) {
            n.state = Node::Reading;
            lock.unlock();
            read(n);
            finish(n);
            return !cancel_.load(std::memory_order_relaxed);
        }
        while (n.state != Node::Ready) {
            if (cancel_.load(std::memory_order_relaxed))
                return false;
            waiting_ = true;
            done_.wait_for(lock, std::chrono::milliseconds(50));
            waiting_ = false;
        }
        return true;
    }

    void stop()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            queue_.clear();
        }
        wake_.notify_all();
    }

    // Reads one folder without readers (no threads).
    void readHere(Node &n)
    {
        read(n);
        n.state = Node::Ready;
    }

private:
    void read(Node &n)
    {
        if (cancel_.load(std::memory_order_relaxed))
            return;
        const int fd = ::open(n.native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (n.root ? 0 : O_NOFOLLOW));
        if (fd < 0)
            return; // unreadable or gone: skipped
        DIR *dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return;
        }
        // Names go into one buffer and are sorted by position: no allocation per name.
        std::string arena;
        std::vector<Entry> files;
        std::vector<Entry> folders;
        while (dirent *e = ::readdir(dir)) {
            const char *name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            bool isDir = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN) {
                struct stat st{};
                isDir = ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
            }
            const size_t len = std::strlen(name);
            if (isDir ? !recurse_ : !pattern_.matches(name, len))
                continue;
            (isDir ? folders : files).push_back({arena.size(), len});
            arena.append(name, len);
        }
        ::closedir(dir);
        auto byName = [&arena](const Entry &a, const Entry &b) {
            return std::string_view(arena.data() + a.offset, a.length) <
                   std::string_view(arena.data() + b.offset, b.length);
        };
        std::sort(files.begin(), files.end(), byName);
        std::sort(folders.begin(), folders.end(), byName);
        size_t total = 0;
        for (const Entry &f : files)
            total += static_cast<size_t>(n.native.size()) + f.length;
        n.files.text.reserve(static_cast<qsizetype>(total));
        n.files.ends.reserve(files.size());
        for (const Entry &f : files)
            n.files.add(n.native, QByteArrayView(arena.data() + f.offset, static_cast<qsizetype>(f.length)));
        n.subfolders.reserve(folders.size());
        for (const Entry &f : folders) {
            auto sub = std::make_shared<Node>();
            sub->native.reserve(n.native.size() + static_cast<qsizetype>(f.length) + 1);
            sub->native.append(n.native).append(arena.data() + f.offset, static_cast<qsizetype>(f.length)).append('/');
            n.subfolders.push_back(std::move(sub));
        }
    }

    struct Entry {
        size_t offset;
        size_t length;
    };

    void finish(Node &n)
    {
        bool notifyDone;
        size_t pushed;
        {
            std::lock_guard lock(mutex_);
            n.state = Node::Ready;
            // Sub-folders first in line, the first one foremost: the reading
            // stays ahead of the in-order hand-out.
            for (auto it = n.subfolders.rbegin(); it != n.subfolders.rend(); ++it)
                queue_.push_front(*it);
            pushed = n.subfolders.size();
            notifyDone = waiting_;
        }
        // One reader woken per new folder, not every reader for each.
        for (size_t i = 0; i < std::min(pushed, readers_); ++i)
            wake_.notify_one();
        if (notifyDone)
            done_.notify_all();
    }

    const WildcardPattern &pattern_;
    const bool recurse_;
    const std::atomic<bool> &cancel_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<std::shared_ptr<Node>> queue_;
    bool stop_ = false;
    bool waiting_ = false; // the hand-out waits for a folder being read
    const size_t readers_;
};

constexpr qsizetype kBatch = 4096;

} // namespace

bool Search(const QString &folder, const QString &pattern, bool recurse, const std::atomic<bool> &cancel,
            const SearchSink &sink, int threads)
{
    const WildcardPattern wild(pattern);
    if (threads <= 0)
        threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    if (!recurse)
        threads = 0;
    Walk walk(wild, recurse, cancel, threads);
    auto root = std::make_shared<Node>();
    root->native = QFile::encodeName(AddBackslash(folder));
    root->root = true;

    std::vector<std::thread> readers;
    struct Join {
        Walk &walk;
        std::vector<std::thread> &readers;
        ~Join()
        {
            walk.stop();
            for (std::thread &t : readers)
                t.join();
        }
    } join{walk, readers};
    for (int i = 0; i < threads; ++i)
        readers.emplace_back([&walk] { walk.readerLoop(); });

    if (threads > 0)
        walk.enqueue(root);
    vx::EntryBatch batch;
    std::vector<std::shared_ptr<Node>> stack{root};
    while (!stack.empty()) {
        std::shared_ptr<Node> n = std::move(stack.back());
        stack.pop_back();
        if (threads == 0)
            walk.readHere(*n);
        else if (!walk.waitFor(*n))
            return false;
        if (cancel.load(std::memory_order_relaxed))
            return false;
        if (sink.folder)
            sink.folder(n->native);
        if (!n->files.empty()) {
            batch.take(std::move(n->files));
            if (batch.size() >= kBatch && sink.found)
                sink.found(std::exchange(batch, vx::EntryBatch()));
        }
        for (auto it = n->subfolders.rbegin(); it != n->subfolders.rend(); ++it)
            stack.push_back(std::move(*it));
    }
    if (cancel.load(std::memory_order_relaxed))
        return false;
    if (!batch.empty() && sink.found)
        sink.found(std::move(batch));
    return true;
}

QString FindFilesRecursive(const QString &folder, const QString &pattern, bool recurse)
{
    QString text;
    std::atomic<bool> never{false};
    SearchSink sink;
    sink.found = [&text](vx::EntryBatch &&paths) {
        for (qsizetype i = 0; i < paths.size(); ++i)
            text += paths.entry(i) + QStringLiteral("\r\n");
    };
    Search(folder, pattern, recurse, never, sink);
    return text;
}

} // namespace basFindFile
