// The skateboard's meshes, its animation keys and where the game puts it.
#pragma once

#include "mesh.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <vector>

namespace assetgen {

// One cycle of rocking and bobbing, in the importer's ticks (milliseconds of
// the file's seconds). The game's animation clock runs two ticks per second,
// so a cycle of 4 ticks lasts 2 s of play.
inline constexpr double kBoardCycleTicks = 4.0;
inline constexpr int kBoardKeyCount = 64;

// The wanted tilt and offset of the board at a time (ticks).
struct BoardMotion {
    double rollDegrees = 0;    // about the board's length (x)
    double pitchDegrees = 0;   // about its width (y)
    glm::vec3 translation{0.0f};
};
BoardMotion boardMotion(double ticks);

// One key as written to the file.
struct BoardKey {
    double seconds = 0;
    glm::vec3 translation{0.0f};
    float rollDegrees = 0, pitchDegrees = 0;   // increments, see boardKeys()
};
using BoardKeys = std::vector<BoardKey>;
BoardKeys boardKeys();

// Deck, front truck and back truck, in that order.
std::vector<Mesh> buildSkateboard();

} // namespace assetgen
