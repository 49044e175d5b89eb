#include "scene/animation.h"

#include <assimp/scene.h>
#include <glm/geometric.hpp>

#include <cmath>

namespace ruma::scene {

namespace {

constexpr double kNoNextKey = 9999.0;
constexpr float kNearlyEqual = 0.9999999f;

// From prev towards next by f; neither the shorter way round nor a unit result
// is enforced.
glm::quat blendRotations(const glm::quat& prev, const glm::quat& next, float f)
{
    const float cosine = prev.x * next.x + prev.y * next.y + prev.z * next.z + prev.w * next.w;
    glm::quat r;
    if (cosine > kNearlyEqual) {
        r.x = prev.x + (next.x - prev.x) * f;
        r.y = prev.y + (next.y - prev.y) * f;
        r.z = prev.z + (next.z - prev.z) * f;
        r.w = prev.w + (next.w - prev.w) * f;
        return r;
    }
    const float theta = std::acos(cosine);
    const float a = std::sin((1.0f - f) * theta);
    const float b = std::sin(f * theta);
    const float s = std::sin(theta);
    r.x = (prev.x * a + next.x * b) / s;
    r.y = (prev.y * a + next.y * b) / s;
    r.z = (prev.z * a + next.z * b) / s;
    r.w = (prev.w * a + next.w * b) / s;
    return r;
}

} // namespace

double channelTime(double animationTime, double duration)
{
    return duration > 0.0 ? std::fmod(animationTime, duration) : 0.0;
}

ChannelPose evaluateChannel(const AnimationChannel& channel, double t)
{
    double prevTime = 0.0, nextTime = kNoNextKey;
    glm::vec3 prevPos(0.0f), nextPos(0.0f), lastValue(0.0f);
    glm::dvec3 base(0.0);
    for (const PositionKey& key : channel.positionKeys) {
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

    const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);
    glm::quat prevRot = identity, nextRot = identity;
    double prevRotTime = 0.0, nextRotTime = kNoNextKey;
    // Every key passed is multiplied in, starting from a half turn about z.
    glm::quat acc(0.0f, 0.0f, 0.0f, 1.0f);
    for (const RotationKey& key : channel.rotationKeys) {
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

    ChannelPose pose;
    // The rotation is blended with the position keys' times.
    pose.blend = static_cast<float>((t - prevTime) / (nextTime - prevTime));
    pose.rotation = blendRotations(prevRot, nextRot, pose.blend) * acc;
    pose.translation =
        base + static_cast<double>(pose.blend) * (glm::dvec3(nextPos) - glm::dvec3(prevPos));
    return pose;
}

void poseVertices(const float* base, unsigned int count, const ChannelPose& pose, float* posed)
{
    const glm::quat& q = pose.rotation;
    const glm::vec3 u(q.x, q.y, q.z);
    for (unsigned int i = 0; i < count; ++i) {
        const glm::vec3 v(base[3 * i], base[3 * i + 1], base[3 * i + 2]);
        const glm::vec3 uv = glm::cross(u, v);
        const glm::vec3 turned = v + 2.0f * q.w * uv + 2.0f * glm::cross(u, uv);
        const glm::dvec3 moved = glm::dvec3(turned) + pose.translation;
        posed[3 * i] = static_cast<float>(moved.x);
        posed[3 * i + 1] = static_cast<float>(moved.y);
        posed[3 * i + 2] = static_cast<float>(moved.z);
    }
}

std::vector<AnimationChannel> readChannels(const aiScene& scene)
{
    std::vector<AnimationChannel> channels;
    for (unsigned int a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation& animation = *scene.mAnimations[a];
        for (unsigned int c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim& nodeAnim = *animation.mChannels[c];
            const aiNode* node = scene.mRootNode ? scene.mRootNode->FindNode(nodeAnim.mNodeName) : nullptr;
            if (!node || node->mNumMeshes == 0) continue;

            AnimationChannel channel;
            channel.meshIndex = static_cast<int>(node->mMeshes[0]);
            channel.duration = animation.mDuration;
            channel.positionKeys.reserve(nodeAnim.mNumPositionKeys);
            for (unsigned int k = 0; k < nodeAnim.mNumPositionKeys; ++k) {
                const aiVectorKey& key = nodeAnim.mPositionKeys[k];
                channel.positionKeys.push_back({key.mTime, glm::vec3(key.mValue.x, key.mValue.y, key.mValue.z)});
            }
            channel.rotationKeys.reserve(nodeAnim.mNumRotationKeys);
            for (unsigned int k = 0; k < nodeAnim.mNumRotationKeys; ++k) {
                const aiQuatKey& key = nodeAnim.mRotationKeys[k];
                // glm takes w first and stores it last.
                channel.rotationKeys.push_back(
                    {key.mTime, glm::quat(key.mValue.w, key.mValue.x, key.mValue.y, key.mValue.z)});
            }
            channels.push_back(std::move(channel));
        }
    }
    return channels;
}

} // namespace ruma::scene
