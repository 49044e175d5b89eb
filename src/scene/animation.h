// Node animation of a model file, evaluated on the CPU: per channel a rotation
// and a translation found from the keys around the current time, applied to
// the mesh's unanimated vertex positions.
#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <vector>

struct aiScene;

namespace ruma::scene {

struct PositionKey {
    double time = 0.0;
    glm::vec3 value = glm::vec3(0.0f);
};

struct RotationKey {
    double time = 0.0;
    glm::quat value = glm::quat(1.0f, 0.0f, 0.0f, 0.0f);   // stored x, y, z, w
};

struct AnimationChannel {
    int meshIndex = -1;          // first mesh of the animated node
    double duration = 0.0;       // of the animation holding the channel, in file time units
    std::vector<PositionKey> positionKeys;   // file order
    std::vector<RotationKey> rotationKeys;   // file order
};

// Where a channel puts its mesh at one time.
struct ChannelPose {
    glm::quat rotation = glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    glm::dvec3 translation = glm::dvec3(0.0);
    float blend = 0.0f;          // how far between the previous and the next position key
};

// The channel's time within its animation; an animation without length stays at its start.
double channelTime(double animationTime, double duration);

// Scans the keys around t (keys exactly at t are neither before nor after it).
ChannelPose evaluateChannel(const AnimationChannel& channel, double t);

// Rotates then moves count vertices (3 floats each) of base into posed, which
// must hold as many.
void poseVertices(const float* base, unsigned int count, const ChannelPose& pose, float* posed);

// One channel per node animation of the scene, in file order; channels whose
// node is missing or has no mesh animate nothing and are left out.
std::vector<AnimationChannel> readChannels(const aiScene& scene);

} // namespace ruma::scene
