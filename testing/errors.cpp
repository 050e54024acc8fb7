#include "errors.h"

#include "platform/core/errors.h"

namespace vxtest {

int errorOf(const std::function<void()> &fn, QString *description)
{
    try {
        fn();
    } catch (const vx::RuntimeError &e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

} // namespace vxtest
