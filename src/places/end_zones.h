// Where a run ends by place: the three holes the player can fall into and the
// goal platform. The rules test them; the course is built so that whoever
// falls into a hole lands inside its zone and whoever reaches the goal stands
// inside that one.
#pragma once

#include <limits>

namespace ruma {

// An axis-aligned region of the rules, bounds inclusive.
struct EndZone {
    float x0, x1, y0, y1, z0, z1;

    constexpr bool contains(float x, float y, float z) const
    {
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && z >= z0 && z <= z1;
    }
};

// Standing in one of these loses the run ("fell into a hole").
inline constexpr EndZone kHoleZones[] = {
    {99, 102, 1, 3, 22, 27},
    {107, 110, 1, 3, 22, 27},
    {-2, 10, 12, 15.5f, 13, 17},
};

// Reaching this wins the run, however high the player is above the platform.
inline constexpr EndZone kGoalZone{-44, -40, 27, std::numeric_limits<float>::infinity(), 56, 58};

} // namespace ruma
