// UNARJ32J: ARJ extraction through Debian's `arj`; without it the library
// reports itself not ready.
#include "arj.h"
#include "common_exports.h"

#include <unistd.h>

namespace {

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, true);
    if (cmd.verb != "x" && cmd.verb != "e")
        return arc::BadCommand;
    if (!arc::validNames(cmd))
        return arc::BadCommand;
    size_t next = 1;
    const std::string dest = arc::destinationOf(cmd, next);
    return arc::extractArj(cmd.args[0], dest, cmd.verb == "x");
}

} // namespace

ARC_COMMAND(Unarj, run)
ARC_VERSION(Unarj)
ARC_MODES(Unarj)
ARC_EXPORT int32_t ArchiverReady(void) { return arc::arjProgram().empty() ? 0 : 1; }
