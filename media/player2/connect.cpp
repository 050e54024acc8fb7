#include "connect.h"

#include "form20.h"

#include "media/midi/form22.h"
#include "media/player/form3.h"
#include "tags/editor/player.h"

namespace player2 {

void connect()
{
    tags::setPlayerSource([] { return &vx::instance<Form20>().tagPlayer(); });
    Form22::stopSecondPlayer = [] { vx::instance<Form20>().MediaPlayer1.Stop(); };
    Form3::showSecondPlayer = [] { vx::instance<Form20>().Show(); };
}

} // namespace player2
