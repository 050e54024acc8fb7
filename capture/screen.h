#pragma once
// Where captured pictures come from: the whole virtual desktop, or the window
// the window manager names active (with its frame). Under Wayland the screen
// cannot be read and both give nothing. Tests put in their own source.
#include <QImage>

#include <memory>
#include <optional>

namespace capture {

class ScreenSource {
public:
    virtual ~ScreenSource() = default;
    virtual std::optional<QImage> wholeScreen() = 0;
    // The whole screen when no window is active.
    virtual std::optional<QImage> activeWindow() = 0;
};

ScreenSource &screenSource();
// nullptr restores the real source.
void setScreenSource(std::unique_ptr<ScreenSource> source);

} // namespace capture
