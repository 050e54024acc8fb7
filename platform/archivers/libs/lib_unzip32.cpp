// UNZIP32: ZIP extraction through libarchive (names without the UTF-8 mark
// read as CP932).
#include "common_exports.h"

namespace {

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, false);
    return arc::runExtract(arc::Format::Zip, cmd, !arc::hasSwitch(cmd, "-j"));
}

} // namespace

ARC_COMMAND(UnZip, run)
ARC_VERSION(UnZip)
ARC_CHECK(UnZip, arc::Format::Zip)
ARC_MODES(UnZip)
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
