#include "reach.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <optional>

namespace vx {

namespace {
constexpr int kBandHeight = 24;
constexpr int kHoldWidth = 32;
constexpr int kHoldHeight = 8;

std::optional<std::vector<QRect>> &standIn()
{
    static std::optional<std::vector<QRect>> areas;
    return areas;
}

// Squared gap between two rectangles (0 when they meet).
qint64 gap(const QRect &a, const QRect &b)
{
    const qint64 dx = std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy = std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

int into(int start, int length, int areaStart, int areaLength)
{
    if (start + qint64(length) > areaStart + qint64(areaLength))
        start = areaStart + areaLength - length;
    return std::max(start, areaStart);
}
} // namespace

std::vector<QRect> screenAreas()
{
    if (standIn())
        return *standIn();
    std::vector<QRect> areas;
    for (const QScreen *s : QGuiApplication::screens()) {
        const QRect r = s->availableGeometry();
        if (!r.isEmpty())
            areas.push_back(r);
    }
    return areas;
}

void setScreenAreas(std::vector<QRect> areas)
{
    if (areas.empty())
        standIn().reset();
    else
        standIn() = std::move(areas);
}

bool withinReach(const QRect &frame, const std::vector<QRect> &areas)
{
    const QRect band(frame.left(), frame.top(), frame.width(), std::min(frame.height(), kBandHeight));
    for (const QRect &area : areas) {
        const QRect held = band & area;
        if (held.width() >= std::min(band.width(), kHoldWidth) && held.height() >= std::min(band.height(), kHoldHeight)
            && !held.isEmpty())
            return true;
    }
    return false;
}

QPoint reachablePosition(const QRect &frame, const std::vector<QRect> &areas)
{
    return withinReach(frame, areas) ? frame.topLeft() : ontoNearest(frame, areas);
}

QPoint ontoNearest(const QRect &frame, const std::vector<QRect> &areas)
{
    if (areas.empty())
        return frame.topLeft();
    const QRect *nearest = &areas.front();
    for (const QRect &area : areas) {
        if (gap(frame, area) < gap(frame, *nearest))
            nearest = &area;
    }
    return {into(frame.left(), frame.width(), nearest->left(), nearest->width()),
            into(frame.top(), frame.height(), nearest->top(), nearest->height())};
}

} // namespace vx
