#pragma once
// The recursive file search: a folder's own files in name order, then each
// sub-folder's whole tree (pre-order). Names match a Windows-style pattern
// ("*", "?", any case; "*.*" and "" every name). Everything that is not a
// folder is listed (hidden files, links, sockets, FIFOs, devices) and nothing
// found is ever opened; folder links are not followed and unreadable folders
// are skipped. Folders are read by a few threads at once; the results come
// out in order on the calling thread.
#include "platform/forms/virtuallist.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace basFindFile {

// The folder with one trailing "/" (a root keeps its single one).
QString AddBackslash(const QString &folder);

class WildcardPattern {
public:
    explicit WildcardPattern(const QString &pattern);
    bool matchesAll() const { return all_; }
    bool matches(const char *name, size_t len) const;

private:
    bool all_ = false;
    bool ascii_ = true;
    QByteArray bytes_;  // ASCII pattern, lower case
    QString folded_;    // any other pattern, case-folded
};

struct SearchSink {
    // Full paths found, in order, as the file system spells them; called
    // with a few thousand at a time.
    std::function<void(vx::EntryBatch &&)> found;
    // The folder whose files come next (with its trailing "/").
    std::function<void(const QByteArray &)> folder;
};

// Searches `folder` and returns true, or false when `cancel` was set (the sink
// then gets nothing more). `threads` readers (0: as many as the machine has, up to 8).
bool Search(const QString &folder, const QString &pattern, bool recurse, const std::atomic<bool> &cancel,
            const SearchSink &sink, int threads = 0);

// Every path found followed by CR LF.
QString FindFilesRecursive(const QString &folder, const QString &pattern, bool recurse);

} // namespace basFindFile
