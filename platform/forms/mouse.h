#pragma once
// Mouse event arguments as the windows receive them.
#include <Qt>

#include <functional>

namespace vx {

// Mouse event arguments: button 1 left, 2 right, 4 middle; shift 1 shift,
// 2 ctrl, 4 alt; x and y in twips inside the control.
using MouseHandler = std::function<void(int button, int shift, float x, float y)>;
int mouseButtonValue(Qt::MouseButtons b);
int shiftValue(Qt::KeyboardModifiers m);
} // namespace vx
