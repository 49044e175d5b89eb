// The gamepad as the game reads it: its buttons stand in for keys, and its
// sticks tilt past a small dead zone.
#pragma once

#include <glm/glm.hpp>

namespace ruma {

// True while the key is held, or the pad button that stands in for it: A for
// Space, the right trigger for Left Shift, Start for F1, Back for Escape.
bool keyOrPadHeld(int key);

// How far a stick leans past the 0.15 radial dead zone: 0 at the zone's edge,
// a unit vector at full tilt (a stick that reports more is cut to 1).
glm::vec2 stickTilt(float x, float y);

} // namespace ruma
