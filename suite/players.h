#pragma once
// The players switch to each other through this table, not through each
// other's windows: each player's library joins it (its connect()), and a
// switch button asks for the player it names.
#include <functional>

namespace suite::players {

enum class Player { First, Second, Third };

// How `player` is shown; an empty function takes it out.
void join(Player player, std::function<void()> show);
// Whether `player` has joined (a switch button to it is enabled).
bool joined(Player player);
// Shows `player`; one that has not joined is not shown.
void show(Player player);

} // namespace suite::players
