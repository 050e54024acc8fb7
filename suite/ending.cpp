#include "ending.h"

#include <utility>
#include <vector>

namespace suite {

namespace {
struct EndCheck {
    QString tool;
    std::function<bool()> agrees;
};

std::vector<EndCheck> &checks()
{
    static std::vector<EndCheck> list;
    return list;
}
} // namespace

void registerEndCheck(const QString &tool, std::function<bool()> agrees)
{
    for (EndCheck &c : checks()) {
        if (c.tool == tool) {
            c.agrees = std::move(agrees);
            return;
        }
    }
    checks().push_back({tool, std::move(agrees)});
}

bool toolsAgreeToEnd()
{
    // A copy: a check may load a window that registers itself.
    const std::vector<EndCheck> list = checks();
    for (const EndCheck &c : list)
        if (c.agrees && !c.agrees())
            return false;
    return true;
}

} // namespace suite
