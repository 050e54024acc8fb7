#pragma once
// Waiting for a device without freezing the window: the work runs on a
// worker while the window thread goes on painting and answering.
#include <atomic>
#include <functional>
#include <memory>

namespace vx::media {

// Runs `work` on a worker and gives its result. On the window thread the
// wait is a local event loop without user input (a handler run meanwhile
// may set *cancel: `stop` then tells the work to give up, and the answer is
// "not open"); elsewhere a plain wait. The worker has ended when this returns.
int waitOffWindow(const std::function<int()> &work, std::atomic<bool> &stop, const std::shared_ptr<bool> &cancel);

} // namespace vx::media
