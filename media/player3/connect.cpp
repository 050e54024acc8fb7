#include "connect.h"

#include "formvx3.h"

#include "media/player/form3.h"
#include "media/player2/form20.h"

namespace player3 {

void connect()
{
    Form3::showThirdPlayer = [] { vx::instance<FormVX3>().Show(); };
    Form20::showThirdPlayer = [] { vx::instance<FormVX3>().Show(); };
}

} // namespace player3
