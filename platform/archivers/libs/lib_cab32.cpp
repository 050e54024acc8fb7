// CAB32: extraction through libarchive, "-a" compression through libgcab.
#include "common_exports.h"
#include "pack.h"
#include "write.h"

namespace {

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, false);
    if (arc::hasSwitch(cmd, "-x"))
        return arc::runExtract(arc::Format::Cab, cmd, true);
    if (!arc::hasSwitch(cmd, "-a"))
        return arc::BadCommand;
    if (!arc::validNames(cmd) || cmd.args.size() < 2)
        return arc::BadCommand;
    std::vector<arc::Item> items;
    const std::vector<std::string> names(cmd.args.begin() + 1, cmd.args.end());
    if (!arc::collect(names, cmd.args[0], items) || items.empty())
        return arc::NothingToDo;
    return arc::writeCab(cmd.args[0], items, true);
}

} // namespace

ARC_COMMAND(Cab, run)
ARC_VERSION(Cab)
ARC_CHECK(Cab, arc::Format::Cab)
ARC_MODES(Cab)
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
