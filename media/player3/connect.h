#pragma once
// Joins the third player to the players that switch to it without linking
// it: the first player's and the second player's switch buttons.
namespace player3 {

void connect();

} // namespace player3
