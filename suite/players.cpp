#include "players.h"

#include <array>

namespace suite::players {

namespace {
std::array<std::function<void()>, 3> &table()
{
    static std::array<std::function<void()>, 3> shows;
    return shows;
}
} // namespace

void join(Player player, std::function<void()> show) { table().at(size_t(player)) = std::move(show); }

bool joined(Player player) { return static_cast<bool>(table().at(size_t(player))); }

void show(Player player)
{
    if (const auto &s = table().at(size_t(player)))
        s();
}

} // namespace suite::players
