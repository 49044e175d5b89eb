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

} // namespace ruma
