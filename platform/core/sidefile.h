#pragma once
// Files of ours beside a user's file while it is rewritten:
// ".NAME.<tag>XXXXXX", the name cut to fit (sidename.h). A side file is
// locked while its save runs, so a leftover is told from one in use.
#include "platform/core/fd.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>
#include <sys/types.h>

struct stat;

namespace vx {

// Whether a file was last written before this program started: such a side
// file is no save of ours in progress.
bool olderThanThisProgram(const struct stat &st);

class SideFiles {
public:
    // Side files of `file` (a path; its folder is where they go), with `tag`
    // ending in its separator, e.g. "vxtmp-".
    SideFiles(const QString &file, std::string_view tag);

    const QByteArray &dir() const { return dir_; }
    QByteArray path(const std::string &name) const { return dir_ + '/' + QByteArray::fromStdString(name); }

    // A new side file, locked, with `mode` (before the umask); its name in
    // `name`. Not valid, with errno set, when none can be made.
    Fd create(std::string &name, mode_t mode) const;

    enum class Leftovers {
        All,            // every one (the save that just succeeded made them stale)
        Unheld,         // those no save holds
        StaleAndUnheld, // those no save holds that are older than this program
    };
    void removeLeftovers(Leftovers which) const;

private:
    QByteArray dir_;
    std::string prefix_;
};

} // namespace vx
