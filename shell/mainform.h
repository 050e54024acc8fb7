#pragma once
// What the three main windows share: the help contents and the way out.
#include <functional>

namespace shell {

// Shows the contents of "help.chm" in the program folder.
void showHelp();

// Ends the program from a main window: the tools first may keep it running
// (unsaved text the user wants saved and that could not be saved; then
// nothing else happens); `save` stores what the window keeps, then (when
// asked) every help viewer is closed, then the program ends. A store that
// cannot be written is reported and the program ends all the same, so a
// broken store never keeps the user from leaving.
void endFromMainWindow(const std::function<void()> &save, bool closeHelp);

} // namespace shell
