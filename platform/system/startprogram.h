#pragma once
// Starting a program on its own, as the desktop starts one: no shell, no
// arguments, nothing waits for it.
#include <QString>

namespace vx {

// Starts the program file at the absolute `path`. The path is the file's name
// whatever it holds (spaces, quotes, ";", "$(...)"): it is never handed to a
// shell and never searched for on the program search path. The program runs
// on after we end and is never waited for. Returns true when it started;
// otherwise `why` (when given) tells what stood in the way.
bool startProgram(const QString &path, QString *why = nullptr);

} // namespace vx
