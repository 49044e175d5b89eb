// Where the world puts the eleven slimes, and which of them sway. The course is
// built so that each lies on a floor all along its sway.
#pragma once

#include <glm/vec3.hpp>

namespace ruma {

struct SlimePlace {
    bool moving;
    glm::vec3 position;
};

inline constexpr SlimePlace kSlimePlaces[] = {
    {true, {2.6f, -1.2f, 9.0f}},    {false, {45.9f, -1.2f, 24.6f}}, {false, {73.2f, 3.7f, 0.9f}},
    {true, {91.5f, 3.7f, 4.3f}},    {false, {71.9f, 13.7f, 19.1f}}, {true, {62.3f, 13.7f, 46.4f}},
    {false, {45.0f, 13.7f, 14.7f}}, {false, {9.9f, 18.65f, 15.0f}}, {false, {-20.3f, 18.7f, 33.4f}},
    {true, {-63.3f, 18.7f, 46.7f}}, {false, {-41.5f, 22.7f, 38.0f}},
};

// Moving slimes sway this far to either side of their place along x.
inline constexpr double kSlimeSway = 0.8;

} // namespace ruma
