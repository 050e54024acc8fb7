#include "player.h"

namespace tags {

namespace {
PlayerSource &source()
{
    static PlayerSource s;
    return s;
}
} // namespace

void setPlayerSource(PlayerSource s)
{
    source() = std::move(s);
}

TagPlayer *player()
{
    return source() ? source()() : nullptr;
}

} // namespace tags
