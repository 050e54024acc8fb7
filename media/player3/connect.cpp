#include "connect.h"

#include "formvx3.h"

#include "suite/players.h"

namespace player3 {

void connect()
{
    suite::players::join(suite::players::Player::Third, [] { vx::instance<FormVX3>().Show(); });
}

} // namespace player3
