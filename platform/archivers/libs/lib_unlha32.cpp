// UNLHA32: LZH extraction through libarchive, compression with our encoder.
#include "common_exports.h"
#include "pack.h"
#include "write.h"

namespace {

int compress(const arc::Command &cmd)
{
    if (!arc::validNames(cmd) || cmd.args.size() < 2)
        return arc::BadCommand;
    const std::string level = arc::switchValue(cmd, "-h", "2");
    const std::string jm = arc::switchValue(cmd, "-jm", "2");
    int method;
    if (jm == "0")
        method = 0;
    else if (jm == "2")
        method = 5;
    else if (jm == "3")
        method = 6;
    else if (jm == "4")
        method = 7;
    else if (jm == "a")
        method = -1;
    else
        return arc::Unsupported; // -lh1- is not written here
    if (level.size() != 1 || level[0] < '0' || level[0] > '3')
        return arc::BadCommand;
    std::vector<arc::Item> items;
    const std::vector<std::string> names(cmd.args.begin() + 1, cmd.args.end());
    if (!arc::collect(names, cmd.args[0], items) || items.empty())
        return arc::NothingToDo;
    return arc::writeLzh(cmd.args[0], items, method, level[0] - '0', true);
}

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, true);
    if (cmd.verb == "x")
        return arc::runExtract(arc::Format::Lzh, cmd, true);
    if (cmd.verb == "e")
        return arc::runExtract(arc::Format::Lzh, cmd, false);
    if (cmd.verb == "a" || cmd.verb == "u")
        return compress(cmd);
    return arc::BadCommand;
}

} // namespace

ARC_COMMAND(Unlha, run)
ARC_VERSION(Unlha)
ARC_CHECK(Unlha, arc::Format::Lzh)
ARC_MODES(Unlha)
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
