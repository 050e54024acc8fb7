// UNRAR32: the RAR command line; the reading itself is UNRAR's, loaded for
// each call and released after it.
#include "common_exports.h"

#include <dlfcn.h>
#include <unistd.h>

namespace {

int run(const std::string &line)
{
    const arc::Command cmd = arc::parse(line, true);
    bool keep;
    if (cmd.verb == "e")
        keep = false;
    else if (cmd.verb == "x" || (cmd.verb.empty() && arc::hasSwitch(cmd, "-x")))
        keep = true;
    else
        return arc::BadCommand;
    if (!arc::validNames(cmd))
        return arc::BadCommand;
    size_t next = 1;
    const std::string dest = arc::destinationOf(cmd, next);
    void *lib = ::dlopen("unrar.so", RTLD_NOW | RTLD_LOCAL);
    if (!lib)
        return arc::HelperMissing;
    using Fn = int32_t (*)(const char *, const char *, int32_t);
    auto fn = reinterpret_cast<Fn>(::dlsym(lib, "RarExtract"));
    const int r = fn ? fn(cmd.args[0].c_str(), dest.c_str(), keep ? 1 : 0) : arc::HelperMissing;
    ::dlclose(lib);
    return r;
}

} // namespace

ARC_COMMAND(Unrar, run)
ARC_VERSION(Unrar)
ARC_MODES(Unrar)
ARC_EXPORT int32_t ArchiverReady(void) { return 1; }
