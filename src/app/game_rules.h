// The run's rules: pause and resume, the cat's chase and call, the slimes, and
// the end of a run (fallen into a hole, caught by the cat, or won).
#pragma once

#include "world/run_phase.h"

#include <glm/vec3.hpp>

namespace ruma {

// Distance between cat and player, truncated toward zero; set every play frame.
extern int catDistance;

// Which end, if any, the player at (x, y, z) has reached at game time t.
// The losing rules come first and are all skipped in god mode; the goal counts always.
Outcome endConditionFor(float x, float y, float z, double t, int catDistance, bool godMode);

// Tests the end zones and, on a hit, ends the run with its outcome.
void checkEndConditions(float x, float y, float z, double gameTime);

// The run's phase as the rules last set it.
const RunPhase& runPhase();
// The run opens on the controls picture, the music playing silent, the clock stopped.
void openRun();
// The one place the phase changes in a run, with each change's one-time effects
// (to Play or Controls: the music and the clock; to Ended: the outcome is kept).
void changePhase(Phase to, Outcome outcome = Outcome::None);
// Escape, or Enter on an end picture: the loop stops after this frame.
void quitGame();

// The whole-number distance the rules use: squares summed in float, the root
// taken in double, truncated toward zero.
int truncatedDistance(const glm::vec3& a, const glm::vec3& b);

// Play time so far (stops while paused).
double currentGameTime();

// The cat starts its route in the first play frame after the player first moved.
void startCatOnFirstMove();
// Cat distance, end conditions, music, the cat's call and the slime pick-ups, in that order.
void updateChaseAndPickups();

} // namespace ruma
