#include "connect.h"

#include "form3.h"

#include "suite/players.h"

namespace player {

void connect()
{
    suite::players::join(suite::players::Player::First, [] { vx::instance<Form3>().Show(); });
}

} // namespace player
