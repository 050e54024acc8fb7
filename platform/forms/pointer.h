#pragma once
#include <QWidget>

namespace vx {

// Mouse pointer numbers as stored: 0 default, 99 the custom pointer.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerCustom = 99;
void applyMousePointer(QWidget *w, int pointer);

} // namespace vx
