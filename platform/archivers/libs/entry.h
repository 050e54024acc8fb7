#pragma once
// What every library entry point shares: the call shapes, the command line's
// switches and names, the locale for names, and the work per verb.
#include "cmdline.h"
#include "extract.h"

#include <cstdint>
#include <string>

#define ARC_EXPORT extern "C" __attribute__((visibility("default")))

namespace arc {

// Names are UTF-8 during a call, whatever the program's locale.
class Utf8Locale {
public:
    Utf8Locale();
    ~Utf8Locale();
    Utf8Locale(const Utf8Locale &) = delete;
    Utf8Locale &operator=(const Utf8Locale &) = delete;

private:
    void *locale_ = nullptr;
    void *previous_ = nullptr;
};

// One library's version times 100.
inline constexpr int16_t kVersion = 100;

bool hasSwitch(const Command &cmd, const std::string &prefix);
// Digits after a switch's prefix ("-jm" of "-jm2"), or `def`.
std::string switchValue(const Command &cmd, const std::string &prefix, const std::string &def);

// Extraction command: args[0] the archive, args[1] the destination folder
// (unless it holds a wildcard), the rest patterns.
int runExtract(Format fmt, const Command &cmd, bool keepPaths);
// Shared guard: a line without an archive, or a name with CR or LF.
bool validNames(const Command &cmd);

} // namespace arc
