#include "scene/animated_object.h"
#include "scene/animation.h"
#include "scene_test_support.h"

#include <cmath>
#include <memory>
#include <vector>

namespace ruma::scene {
namespace {

const float kHalfRoot2 = std::sqrt(0.5f);

glm::quat aboutY(float degrees)
{
    const float half = glm::radians(degrees) * 0.5f;
    return glm::quat(std::cos(half), 0.0f, std::sin(half), 0.0f);
}

std::vector<float> pose(const ChannelPose& p, std::vector<float> base)
{
    std::vector<float> out(base.size());
    poseVertices(base.data(), static_cast<unsigned int>(base.size() / 3), p, out.data());
    return out;
}

void expectVertices(const std::vector<float>& actual, const std::vector<float>& expected, float tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "vertex " << i / 3 << " component " << i % 3;
}

TEST(AnimationKeys, TimeWrapsByTheAnimationsDuration)
{
    EXPECT_DOUBLE_EQ(channelTime(23.0, 10.0), 3.0);
    EXPECT_DOUBLE_EQ(channelTime(7.5, 10.0), 7.5);
    EXPECT_DOUBLE_EQ(channelTime(5.0, 0.0), 0.0);
}

TEST(AnimationKeys, TwoPositionKeysHalfWayGiveHalfTheMoveAndTheStartingHalfTurn)
{
    AnimationChannel channel;
    channel.positionKeys = {{0.0, glm::vec3(0, 0, 0)}, {2.0, glm::vec3(2, 0, 0)}};
    const ChannelPose p = evaluateChannel(channel, 1.0);
    EXPECT_FLOAT_EQ(p.blend, 0.5f);
    EXPECT_EQ(p.translation, glm::dvec3(1, 0, 0));
    // No rotation keys: the identity times the start value, a half turn about z.
    EXPECT_EQ(p.rotation.x, 0.0f);
    EXPECT_EQ(p.rotation.y, 0.0f);
    EXPECT_EQ(p.rotation.z, 1.0f);
    EXPECT_EQ(p.rotation.w, 0.0f);
    expectVertices(pose(p, {1, 0, 0, 0, 1, 0, 0, 0, 1}), {0, 0, 0, 1, -1, 0, 1, 0, 1}, 1e-6f);
}

TEST(AnimationKeys, KeysExactlyAtTheTimeAreNeitherBeforeNorAfter)
{
    AnimationChannel channel;
    channel.positionKeys = {{0.0, glm::vec3(1, 0, 0)}, {1.0, glm::vec3(3, 0, 0)}, {2.0, glm::vec3(6, 0, 0)}};
    ChannelPose p = evaluateChannel(channel, 1.0);
    EXPECT_FLOAT_EQ(p.blend, 0.5f);   // between the keys at 0 and 2
    EXPECT_NEAR(p.translation.x, 1.0 + 0.5 * 5.0, 1e-12);

    // Past a key, the move continues from that key's value.
    p = evaluateChannel(channel, 1.5);
    EXPECT_FLOAT_EQ(p.blend, 0.5f);
    EXPECT_NEAR(p.translation.x, 3.0 + 0.5 * 3.0, 1e-12);

    // After the last key nothing is next: the blend runs towards a far-off time.
    p = evaluateChannel(channel, 4.0);
    EXPECT_NEAR(p.blend, 2.0 / 9997.0, 1e-9);
    EXPECT_NEAR(p.translation.x, 6.0 - 6.0 * 2.0 / 9997.0, 1e-5);
}

TEST(AnimationKeys, RotationBlendsBetweenKeysAndMultipliesInEveryKeyPassed)
{
    AnimationChannel channel;
    channel.positionKeys = {{0.0, glm::vec3(0.0f)}, {2.0, glm::vec3(0.0f)}};
    channel.rotationKeys = {{0.0, aboutY(0.0f)}, {2.0, aboutY(90.0f)}};
    // Half-way: 45 degrees about y, after the half turn about z.
    ChannelPose p = evaluateChannel(channel, 1.0);
    expectVertices(pose(p, {1, 0, 0, 0, 1, 0, 0, 0, 1}),
                   {-kHalfRoot2, 0, kHalfRoot2, 0, -1, 0, kHalfRoot2, 0, kHalfRoot2}, 1e-5f);

    // Two keys passed (the second is 90 degrees about y): both are multiplied in
    // and the blend starts from the later one.
    channel.rotationKeys.push_back({4.0, aboutY(180.0f)});
    channel.positionKeys.push_back({4.0, glm::vec3(0.0f)});
    p = evaluateChannel(channel, 3.0);
    const glm::quat expected = glm::slerp(aboutY(90.0f), aboutY(180.0f), 0.5f) *
                               (glm::quat(0.0f, 0.0f, 0.0f, 1.0f) * aboutY(0.0f) * aboutY(90.0f));
    EXPECT_NEAR(p.rotation.x, expected.x, 1e-5f);
    EXPECT_NEAR(p.rotation.y, expected.y, 1e-5f);
    EXPECT_NEAR(p.rotation.z, expected.z, 1e-5f);
    EXPECT_NEAR(p.rotation.w, expected.w, 1e-5f);

    // Equal neighbouring keys blend linearly instead of dividing by sin 0; the
    // key at 0 has been passed, so it is multiplied in as well.
    channel.rotationKeys = {{0.0, aboutY(30.0f)}, {2.0, aboutY(30.0f)}};
    channel.positionKeys.resize(2);
    p = evaluateChannel(channel, 1.0);
    const glm::quat q = aboutY(30.0f) * (glm::quat(0.0f, 0.0f, 0.0f, 1.0f) * aboutY(30.0f));
    EXPECT_NEAR(p.rotation.x, q.x, 1e-6f);
    EXPECT_NEAR(p.rotation.y, q.y, 1e-6f);
    EXPECT_NEAR(p.rotation.z, q.z, 1e-6f);
    EXPECT_NEAR(p.rotation.w, q.w, 1e-6f);
}

TEST(AnimatedObjectClock, UpdateRunsTheAnimationAtTwiceTheFrameTime)
{
    ruma::test::InScratchDirectory here("animated-clock");   // no model: no meshes, no GL
    auto board = ruma::test::quietly([] { return std::make_unique<AnimatedObject>(glm::mat4(1.0f), nullptr); });
    EXPECT_EQ(board->animationTime, 0.0);
    board->update(0.5);
    EXPECT_EQ(board->animationTime, 1.0);
    // A channel pointing past the meshes is left alone.
    board->channels.push_back(AnimationChannel{3, 10.0, {{0.0, glm::vec3(0.0f)}}, {}});
    board->update(0.25);
    EXPECT_EQ(board->animationTime, 1.5);
}

} // namespace
} // namespace ruma::scene
