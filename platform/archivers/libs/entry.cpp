#include "entry.h"

#include "result.h"

#include <locale.h>
#include <unistd.h>

namespace arc {

Utf8Locale::Utf8Locale()
{
    locale_t loc = ::newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (loc) {
        locale_ = loc;
        previous_ = ::uselocale(loc);
    }
}

Utf8Locale::~Utf8Locale()
{
    if (locale_) {
        ::uselocale(static_cast<locale_t>(previous_));
        ::freelocale(static_cast<locale_t>(locale_));
    }
}

bool hasSwitch(const Command &cmd, const std::string &prefix)
{
    for (const std::string &s : cmd.switches)
        if (s.compare(0, prefix.size(), prefix) == 0)
            return true;
    return false;
}

std::string switchValue(const Command &cmd, const std::string &prefix, const std::string &def)
{
    std::string v = def;
    for (const std::string &s : cmd.switches)
        if (s.compare(0, prefix.size(), prefix) == 0)
            v = s.substr(prefix.size());
    return v;
}

bool validNames(const Command &cmd)
{
    if (cmd.listError || cmd.args.empty())
        return false;
    for (const std::string &a : cmd.args)
        if (a.find_first_of("\r\n") != std::string::npos || a.empty())
            return false;
    return true;
}

std::string destinationOf(const Command &cmd, size_t &next, bool named)
{
    next = 1;
    if (cmd.args.size() > 1) {
        const std::string &d = cmd.args[1];
        if (named || d.back() == '/' || d.find_first_of("*?") == std::string::npos) {
            next = 2;
            return d;
        }
    }
    char cwd[4096];
    return ::getcwd(cwd, sizeof cwd) ? cwd : ".";
}

int runExtract(Format fmt, const Command &cmd, bool keepPaths, bool named)
{
    if (!validNames(cmd))
        return BadCommand;
    ExtractRequest req;
    req.archive = cmd.args[0];
    req.keepPaths = keepPaths;
    size_t next = 1;
    req.dest = destinationOf(cmd, next, named);
    for (size_t i = next; i < cmd.args.size(); ++i)
        req.patterns.push_back(cmd.args[i]);
    return extractArchive(fmt, req);
}

} // namespace arc
