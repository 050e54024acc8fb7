// ZIP32J: ZIP compression through libarchive; "-0" to "-9" the level, names
// added to an existing archive by rewriting it.
#include "common_exports.h"
#include "pack.h"
#include "write.h"

namespace {

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, false);
    if (!arc::validNames(cmd) || cmd.args.size() < 2)
        return arc::BadCommand;
    int level = 6;
    for (const std::string &s : cmd.switches)
        if (s.size() == 2 && s[1] >= '0' && s[1] <= '9')
            level = s[1] - '0';
    std::vector<arc::Item> items;
    const std::vector<std::string> names(cmd.args.begin() + 1, cmd.args.end());
    if (!arc::collect(names, cmd.args[0], items) || items.empty())
        return arc::NothingToDo;
    return arc::writeZip(cmd.args[0], items, level, true);
}

} // namespace

ARC_COMMAND(Zip, run)
ARC_VERSION(Zip)
ARC_MODES(Zip)
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
