#pragma once
// A window whose caption is empty must have no name on the desktop either:
// for an empty title Qt hands the window manager the program's name, which
// task switchers and pagers then show.
class QWidget;

namespace vx {

// Clears the name the desktop sees for a created top-level window whose
// caption is empty (X11); nothing otherwise.
void applyEmptyDesktopTitle(QWidget *window);

} // namespace vx
