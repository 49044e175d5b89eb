// Where the player and the cat stand when a run begins, each on a floor of the course.
#pragma once

#include <glm/vec3.hpp>

namespace ruma {

// The player model's translation, and the point the camera first looks at.
inline constexpr glm::vec3 kPlayerStart{3.0f, 1.0f, -4.0f};

// Where the cat waits, facing +z, until its route starts.
inline constexpr glm::vec3 kCatStart{2.0f, -0.9f, -11.0f};

} // namespace ruma
