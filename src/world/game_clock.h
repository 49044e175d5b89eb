// Play time, and the grace before the cat may catch the player.
#pragma once

namespace ruma {

// The cat cannot catch the player in the first seconds of play.
constexpr double kCatchGraceSeconds = 7.0;

// Play time in seconds: it runs only in play, not while the controls picture shows.
class GameClock {
public:
    double pauseStart = 0.0;    // platform time at which the clock last stopped
    double pausedTotal = 0.0;   // platform time spent stopped so far
    bool running = false;

    // Seconds of play so far at platform time now.
    double gameTime(double now) const { return (running ? now : pauseStart) - pausedTotal; }
    // Both do nothing when the clock is already in that state.
    void stop(double now);
    void start(double now);
};

} // namespace ruma
