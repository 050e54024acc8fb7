#pragma once
// Keeping windows within reach: a position stored on a larger or a second
// monitor must not open a window where no screen is.
#include <QPoint>
#include <QRect>

#include <vector>

namespace vx {

// The screens' available areas in pixels, the primary screen first.
std::vector<QRect> screenAreas();
// Tests: stands in for the screens (empty: the real ones again).
void setScreenAreas(std::vector<QRect> areas);

// A window frame is within reach when a piece of its top band (the title bar,
// or a bar window's whole height: the top 24 pixels) lies on one area, large
// enough for the pointer to take hold of: 32 pixels wide (the band's width
// when narrower) and 8 high (likewise).
bool withinReach(const QRect &frame, const std::vector<QRect> &areas);
// Where the frame's top-left goes: unchanged when within reach (or with no
// area at all), otherwise ontoNearest().
QPoint reachablePosition(const QRect &frame, const std::vector<QRect> &areas);
// The frame moved the least way fully onto the nearest area (its top-left
// corner when the frame is larger); unchanged with no area at all.
QPoint ontoNearest(const QRect &frame, const std::vector<QRect> &areas);

} // namespace vx
