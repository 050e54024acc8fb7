#pragma once
// The slide show's interval row of the picture tools' settings windows: a text
// box and a scroll bar from 1000 to 30000 ms (about 1 to 30 s) kept in step.
#include <QLatin1StringView>

namespace vx {
class ScrollBar;
class TextBox;
} // namespace vx

namespace suite {

inline constexpr int kIntervalMin = 1000;
inline constexpr int kIntervalMax = 30000;

// Range and steps of 1000 on the bar; both show `def` until the stored one is read.
void setUpInterval(vx::TextBox &text, vx::ScrollBar &bar, int def);
// The interval stored under section/key; one the bar cannot take gives `def`.
int storedInterval(QLatin1StringView section, QLatin1StringView key, int def);
// Typing passes through texts such as "2" on the way to "2000": only a whole
// number the bar can take moves it.
void followIntervalText(const vx::TextBox &text, vx::ScrollBar &bar);

} // namespace suite
