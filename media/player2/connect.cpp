#include "connect.h"

#include "form20.h"

#include "media/midi/form22.h"
#include "suite/players.h"
#include "tags/editor/player.h"

namespace player2 {

void connect()
{
    tags::setPlayerSource([] { return &vx::instance<Form20>().tagPlayer(); });
    Form22::stopSecondPlayer = [] { vx::instance<Form20>().MediaPlayer1.Stop(); };
    suite::players::join(suite::players::Player::Second, [] { vx::instance<Form20>().Show(); });
}

} // namespace player2
