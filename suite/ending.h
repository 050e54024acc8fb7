#pragma once
// Before the program ends: every tool that can hold unsaved work registers one
// check here, and the end goes ahead only when each of them agrees. The tools
// sit above the shell's launchers in no order, so the list lives below them.
#include <QString>

#include <functional>

namespace suite {

// `agrees` asks the user about the tool's unsaved work, when it holds any, and
// returns false when the program must keep running. Registering a name again
// replaces its check.
void registerEndCheck(const QString &tool, std::function<bool()> agrees);

// Asks the registered tools in the order they registered; false at the first
// that wants the program to go on (the others are not asked).
bool toolsAgreeToEnd();

} // namespace suite
