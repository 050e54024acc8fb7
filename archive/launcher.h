#pragma once
// The launcher window's handle, which some archiver calls take as their owner
// window. The shell supplies how to read it (reading it loads the launcher,
// hidden, when it is not loaded); until then it reads as 0.
#include <cstdint>
#include <functional>

namespace archive {

void setLauncherHandle(std::function<uint32_t()> reader);
uint32_t launcherHandle();

} // namespace archive
