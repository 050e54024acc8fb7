#pragma once
// The run-time error a call raises, for tests.
#include <QString>

#include <functional>

namespace vxtest {

// The error number `fn` raised (0 when it returned), with its description.
int errorOf(const std::function<void()> &fn, QString *description = nullptr);

} // namespace vxtest
