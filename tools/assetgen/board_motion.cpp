#include "board_motion.h"

#include <assimp/anim.h>

#include <cmath>

namespace assetgen {

ChannelKeys importedKeys(const aiAnimation& animation, const aiNodeAnim& channel)
{
    ChannelKeys keys;
    keys.duration = animation.mDuration;
    for (unsigned k = 0; k < channel.mNumPositionKeys; ++k) {
        const aiVectorKey& key = channel.mPositionKeys[k];
        keys.positions.push_back({key.mTime, glm::vec3(key.mValue.x, key.mValue.y, key.mValue.z)});
    }
    for (unsigned k = 0; k < channel.mNumRotationKeys; ++k) {
        const aiQuatKey& key = channel.mRotationKeys[k];   // stored w, x, y, z
        keys.rotations.push_back({key.mTime, glm::quat(key.mValue.w, key.mValue.x, key.mValue.y, key.mValue.z)});
    }
    return keys;
}

BoardPose evaluateKeys(const ChannelKeys& channel, double animationTime)
{
    double t = std::fmod(animationTime, channel.duration);

    double prevTime = 0.0, nextTime = 9999.0;
    glm::vec3 prevPos(0.0f), nextPos(0.0f), lastValue(0.0f);
    glm::dvec3 base(0.0);
    for (const PositionKey& key : channel.positions) {
        if (t < key.time && key.time < nextTime) {
            nextTime = key.time;
            nextPos = key.value;
        }
        if (key.time < t) {
            if (key.time >= prevTime) {
                prevTime = key.time;
                prevPos = key.value;
            }
            base += glm::dvec3(key.value) - glm::dvec3(lastValue);
        }
        lastValue = key.value;
    }

    glm::quat prevRot(1, 0, 0, 0), nextRot(1, 0, 0, 0);
    glm::quat acc(0, 0, 0, 1);   // w, x, y, z: the half turn about z
    double nextRotTime = 9999.0, prevRotTime = 0.0;
    for (const RotationKey& key : channel.rotations) {
        if (t < key.time && key.time < nextRotTime) {
            nextRotTime = key.time;
            nextRot = key.value;
        }
        if (key.time < t) {
            if (key.time >= prevRotTime) {
                prevRotTime = key.time;
                prevRot = key.value;
            }
            acc = acc * key.value;
        }
    }

    auto f = static_cast<float>((t - prevTime) / (nextTime - prevTime));
    float cosine = prevRot.x * nextRot.x + prevRot.y * nextRot.y + prevRot.z * nextRot.z + prevRot.w * nextRot.w;
    glm::quat r;
    if (cosine > 0.9999999f) {
        r = glm::quat(prevRot.w + (nextRot.w - prevRot.w) * f, prevRot.x + (nextRot.x - prevRot.x) * f,
                      prevRot.y + (nextRot.y - prevRot.y) * f, prevRot.z + (nextRot.z - prevRot.z) * f);
    } else {
        float theta = std::acos(cosine);
        float a = std::sin((1 - f) * theta) / std::sin(theta), b = std::sin(f * theta) / std::sin(theta);
        r = glm::quat(prevRot.w * a + nextRot.w * b, prevRot.x * a + nextRot.x * b, prevRot.y * a + nextRot.y * b,
                      prevRot.z * a + nextRot.z * b);
    }

    BoardPose pose;
    pose.rotation = r * acc;
    pose.translation = base + glm::dvec3(f * (nextPos - prevPos));
    return pose;
}

glm::vec3 applyPose(const BoardPose& pose, glm::vec3 v)
{
    const glm::quat& q = pose.rotation;
    glm::vec3 u(q.x, q.y, q.z);
    glm::vec3 uv = glm::cross(u, v);
    glm::vec3 turned = v + 2.0f * q.w * uv + 2.0f * glm::cross(u, uv);
    return glm::vec3(glm::dvec3(turned) + pose.translation);
}

} // namespace assetgen
