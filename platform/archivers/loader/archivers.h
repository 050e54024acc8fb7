#pragma once
// Our archiver libraries, found the way the dynamic loader finds them (the
// program's folder, LD_LIBRARY_PATH, the system folders) and loaded by name for
// each call, so a library deleted meanwhile is really missing. Tests put a
// recording stand-in in place of the real libraries.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vx::archivers {

// Full path of the library file the loader would take, "" when none.
std::string searchLibrary(const std::string &file);

class Backend {
public:
    virtual ~Backend() = default;
    // The library is there and ready to work.
    virtual bool present(const std::string &file) = 0;
    // The command entry's result; nothing when the library or the entry
    // cannot be loaded.
    virtual std::optional<int32_t> command(const std::string &file, const std::string &entry, uint32_t owner,
                                           const std::string &line) = 0;
    virtual std::optional<int16_t> version(const std::string &file, const std::string &function) = 0;
    virtual std::optional<int32_t> check(const std::string &file, const std::string &function,
                                         const std::string &archive, int32_t mode) = 0;
};

Backend &backend();
// Replaces the backend (tests); nullptr restores the real one.
void setBackend(std::unique_ptr<Backend> b);
std::unique_ptr<Backend> makeRealBackend();

} // namespace vx::archivers
