// Where a run stands, and its play time. The rules (app/game_rules.h) keep
// the one current phase and alone change it; everything else reads it.
#pragma once

namespace ruma {

enum class Outcome { None, FellIntoHole, CaughtByCat, Won };
enum class Phase { Controls, Play, Ended };   // the controls picture shows at the start and while paused

struct RunPhase {
    Phase phase = Phase::Controls;
    Outcome outcome = Outcome::None;   // set once the run has ended
};

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
