// TAR32: TAR, TAR+gzip and TAR+bzip2 through libarchive. "-x..f" extracts the
// archive after it into the folder after "-o"; "-c" with "-z<level>" or
// "-B<level>" creates one from the names after "-f <archive>".
#include "common_exports.h"
#include "pack.h"
#include "write.h"

namespace {

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, false);
    if (cmd.switches.empty())
        return arc::BadCommand;
    const std::string &mode = cmd.switches.front();
    if (mode.find('x') != std::string::npos)
        return arc::runExtract(arc::Format::Tar, cmd, true, arc::hasSwitch(cmd, "-o"));
    if (mode.find('c') == std::string::npos)
        return arc::BadCommand;
    if (!arc::validNames(cmd) || cmd.args.size() < 2)
        return arc::BadCommand;
    arc::TarFilter filter = arc::TarFilter::None;
    int level = 6;
    for (const std::string &s : cmd.switches) {
        if (s.size() >= 2 && (s[1] == 'z' || s[1] == 'B') && (s.size() == 2 || (s[2] >= '0' && s[2] <= '9'))) {
            filter = s[1] == 'z' ? arc::TarFilter::Gzip : arc::TarFilter::Bzip2;
            if (s.size() > 2)
                level = s[2] - '0';
        }
    }
    std::vector<arc::Item> items;
    const std::vector<std::string> names(cmd.args.begin() + 1, cmd.args.end());
    if (!arc::collect(names, cmd.args[0], items) || items.empty())
        return arc::NothingToDo;
    return arc::writeTar(cmd.args[0], items, filter, level);
}

} // namespace

ARC_COMMAND(Tar, run)
ARC_VERSION(Tar)
ARC_CHECK(Tar, arc::Format::Tar)
ARC_MODES(Tar)
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
