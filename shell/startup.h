#pragma once
namespace shell {

// Loads the start-up window; when it stays (no main window opened) it is shown.
void startUp();

// Runs the main program.
int run(int argc, char **argv);

} // namespace shell
