#pragma once
class QApplication;

namespace shell {

// Loads the start-up window; when it stays (no main window opened) it is shown.
void startUp();

// What the program sets on its application before the start-up window loads.
void prepare(QApplication &app);

// Runs the main program.
int run(int argc, char **argv);

} // namespace shell
