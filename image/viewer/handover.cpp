#include "handover.h"

namespace viewer {

namespace {

std::function<void()> &opener(Viewer which)
{
    static std::function<void()> first;
    static std::function<void()> browser;
    return which == Viewer::First ? first : browser;
}

} // namespace

void setViewerOpener(Viewer which, std::function<void()> show) { opener(which) = std::move(show); }

bool canOpenViewer(Viewer which) { return static_cast<bool>(opener(which)); }

void openViewer(Viewer which)
{
    // A copy: showing may replace the opener.
    if (const std::function<void()> show = opener(which))
        show();
}

} // namespace viewer
