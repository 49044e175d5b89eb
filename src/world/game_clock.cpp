#include "world/game_clock.h"

namespace ruma {

void GameClock::stop(double now)
{
    if (!running) return;
    pauseStart = now;
    running = false;
}

void GameClock::start(double now)
{
    if (running) return;
    pausedTotal += now - pauseStart;
    running = true;
}

} // namespace ruma
