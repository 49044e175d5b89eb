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
    const float cosine = glm::dot(prev, next);
    if (cosine > kNearlyEqual) return prev + (next - prev) * f;
    const float theta = std::acos(cosine);
    return (prev * std::sin((1.0f - f) * theta) + next * std::sin(f * theta)) / std::sin(theta);
}

// The keys on either side of t: the latest one before it and the earliest one
// after it (a key exactly at t is neither). visit sees every key in file order
// and whether t has passed it.
template <typename Value>
struct KeySpan {
    double prevTime = 0.0;
    Value prev;
    double nextTime = kNoNextKey;
    Value next;
};

template <typename Key, typename Value, typename Visit>
KeySpan<Value> findKeySpan(const std::vector<Key>& keys, double t, const Value& none, Visit visit)
{
    KeySpan<Value> span{0.0, none, kNoNextKey, none};
    for (const Key& key : keys) {
        if (t < key.time && key.time < span.nextTime) {
            span.nextTime = key.time;
            span.next = key.value;
        }
        const bool passed = key.time < t;
        if (passed && key.time >= span.prevTime) {
            span.prevTime = key.time;
            span.prev = key.value;
        }
        visit(key.value, passed);
    }
    return span;
}

} // namespace

double channelTime(double animationTime, double duration)
{
    return duration > 0.0 ? std::fmod(animationTime, duration) : 0.0;
}

ChannelPose evaluateChannel(const AnimationChannel& channel, double t)
{
    glm::vec3 lastValue(0.0f);
    glm::dvec3 base(0.0);
    const KeySpan<glm::vec3> position =
        findKeySpan(channel.positionKeys, t, glm::vec3(0.0f), [&](const glm::vec3& value, bool passed) {
            if (passed) base += glm::dvec3(value) - glm::dvec3(lastValue);
            lastValue = value;
        });

    // Every key passed is multiplied in, starting from a half turn about z.
    glm::quat acc(0.0f, 0.0f, 0.0f, 1.0f);
    const KeySpan<glm::quat> rotation =
        findKeySpan(channel.rotationKeys, t, glm::quat(1.0f, 0.0f, 0.0f, 0.0f),
                    [&](const glm::quat& value, bool passed) {
                        if (passed) acc = acc * value;
                    });

    ChannelPose pose;
    // The rotation is blended with the position keys' times.
    pose.blend = static_cast<float>((t - position.prevTime) / (position.nextTime - position.prevTime));
    pose.rotation = blendRotations(rotation.prev, rotation.next, pose.blend) * acc;
    pose.translation = base + static_cast<double>(pose.blend) *
                                  (glm::dvec3(position.next) - glm::dvec3(position.prev));
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
                channel.positionKeys.push_back(
                    {key.mTime, glm::vec3(key.mValue.x, key.mValue.y, key.mValue.z)});
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
