#pragma once
// The first image viewer and the thumbnail browser hand over to each other
// (each has a button that hides it and shows the other). The program sets
// how each is shown, so neither window includes the other.
#include <functional>

namespace viewer {

enum class Viewer { First, Browser };

// `show` shows the window modeless; an empty one takes the way back out.
void setViewerOpener(Viewer which, std::function<void()> show);
bool canOpenViewer(Viewer which);
// Shows the window; nothing when the program set no way to it.
void openViewer(Viewer which);

} // namespace viewer
