#pragma once
// Joins the first player to the players' table, so the other players'
// switch buttons reach it.
namespace player {

void connect();

} // namespace player
