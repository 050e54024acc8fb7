#pragma once
// Joins the second player to the windows that reach it without linking it:
// the first player's switch button, the tag editor and the MIDI chooser.
namespace player2 {

void connect();

} // namespace player2
