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
    std::string dest;
    if (cmd.args.size() > 1 && cmd.args[1].find_first_of("*?") == std::string::npos) {
        dest = cmd.args[1];
    } else {
        char cwd[4096];
        dest = ::getcwd(cwd, sizeof cwd) ? cwd : ".";
    }
    return arc::extractArj(cmd.args[0], dest, cmd.verb == "x");
}

} // namespace

ARC_COMMAND(Unarj, run)
ARC_VERSION(Unarj)
ARC_MODES(Unarj)
ARC_EXPORT int32_t ArchiverReady(void) { return arc::arjProgram().empty() ? 0 : 1; }
