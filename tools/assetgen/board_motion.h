// How the game moves the skateboard's meshes from the keys of its node
// animation, written out so the generator's keys can be checked against it
// (and the preview can show the board exactly as the game will).
//
// At animation time t (in the file's ticks, wrapped by the duration):
// the translation is the last position key before t plus the linear step
// towards the next one; the rotation is the spherical step from the last
// rotation key before t to the next one, times a fixed half turn about z
// followed by the product of every rotation key already passed. So the
// rotation keys are small increments, and the board's tilt is their sum.
#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <vector>

struct aiAnimation;
struct aiNodeAnim;

namespace assetgen {

struct PositionKey {
    double time;
    glm::vec3 value;
};

struct RotationKey {
    double time;
    glm::quat value;
};

struct ChannelKeys {
    double duration = 0.0;
    std::vector<PositionKey> positions;
    std::vector<RotationKey> rotations;
};

// The keys of one channel of an imported animation, as the game copies them.
ChannelKeys importedKeys(const aiAnimation& animation, const aiNodeAnim& channel);

struct BoardPose {
    glm::quat rotation{1, 0, 0, 0};
    glm::dvec3 translation{0.0};
};

// The pose of a channel's mesh at the game's animation time (which runs at
// twice the frame time in seconds).
BoardPose evaluateKeys(const ChannelKeys& channel, double animationTime);

// Where a vertex of the mesh as loaded ends up under that pose.
glm::vec3 applyPose(const BoardPose& pose, glm::vec3 base);

} // namespace assetgen
