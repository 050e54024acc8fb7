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

// The destination of an extraction command: args[1] when it ends in '/' (a
// folder, whatever characters its name holds) or holds no wildcard, else the
// current folder. `next` is set to the first pattern's index.
std::string destinationOf(const Command &cmd, size_t &next, bool named = false);

// Extraction command: args[0] the archive, args[1] the destination folder,
// the rest patterns. `named`: the line names the folder by a switch, so
// args[1] is the folder whatever it holds.
int runExtract(Format fmt, const Command &cmd, bool keepPaths, bool named = false);
// Shared guard: a line without an archive, or a name with CR or LF.
bool validNames(const Command &cmd);

} // namespace arc
