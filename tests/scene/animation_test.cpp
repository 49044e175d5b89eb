// The skateboard's node animation: the clock, the keys around a time and the
// posed vertices.
#include "scene/animated_object.h"
#include "scene/animation.h"
#include "scene_test_support.h"

#include <assimp/scene.h>

#include <cmath>
#include <memory>
#include <vector>

namespace ruma::scene {
namespace {

glm::quat aboutY(float degrees)
{
    const float half = glm::radians(degrees) * 0.5f;
    return glm::quat(std::cos(half), 0.0f, std::sin(half), 0.0f);
}

// The unit vectors x, y and z posed by p.
std::vector<float> poseAxes(const ChannelPose& p)
{
    const std::vector<float> axes = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::vector<float> out(9);
    poseVertices(axes.data(), 3, p, out.data());
    return out;
}

void expectVertices(const std::vector<float>& actual, const std::vector<float>& expected)
{
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

TEST(AnimationClock, RunsAtTwiceTheFrameTimeAndWrapsByTheDuration)
{
    ruma::test::InScratchDirectory here("animated-clock");   // no model: no meshes, no GL
    auto board = ruma::test::quietly([] { return std::make_unique<AnimatedObject>(glm::mat4(1.0f), nullptr); });
    board->update(0.5);
    EXPECT_EQ(board->animationTime, 1.0);
    board->channels.push_back(AnimationChannel{3, 10.0, {{0.0, glm::vec3(0.0f)}}, {}});
    board->update(0.25);   // a channel pointing past the meshes is left alone
    EXPECT_EQ(board->animationTime, 1.5);
    EXPECT_DOUBLE_EQ(channelTime(23.0, 10.0), 3.0);
    EXPECT_DOUBLE_EQ(channelTime(7.5, 10.0), 7.5);
    EXPECT_DOUBLE_EQ(channelTime(5.0, 0.0), 0.0);   // an animation without length stays at its start
}

TEST(AnimationKeys, TwoPositionKeysHalfWayGiveHalfTheMoveAndTheStartingHalfTurn)
{
    AnimationChannel channel;
    channel.positionKeys = {{0.0, glm::vec3(0, 0, 0)}, {2.0, glm::vec3(2, 0, 0)}};
    const ChannelPose p = evaluateChannel(channel, 1.0);
    EXPECT_FLOAT_EQ(p.blend, 0.5f);
    EXPECT_EQ(p.translation, glm::dvec3(1, 0, 0));
    // No rotation keys: the identity times the start value, a half turn about z.
    EXPECT_EQ(p.rotation, glm::quat(0.0f, 0.0f, 0.0f, 1.0f));
    expectVertices(poseAxes(p), {0, 0, 0, 1, -1, 0, 1, 0, 1});

    // With rotation keys the turn blends by the same fraction: 45 degrees about
    // y after the half turn about z, then the move.
    channel.rotationKeys = {{0.0, aboutY(0.0f)}, {2.0, aboutY(90.0f)}};
    const float h = std::sqrt(0.5f);
    expectVertices(poseAxes(evaluateChannel(channel, 1.0)), {1 - h, 0, h, 1, -1, 0, 1 + h, 0, h});

    // Equal neighbouring keys blend without dividing by sin 0.
    channel.rotationKeys = {{0.0, aboutY(30.0f)}, {2.0, aboutY(30.0f)}};
    for (float v : poseAxes(evaluateChannel(channel, 1.0))) EXPECT_TRUE(std::isfinite(v));
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
}

TEST(AnimationKeys, ChannelsAreReadForAnimatedNodesWithAMesh)
{
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    aiNode* board = new aiNode("board");
    board->mNumMeshes = 1;
    board->mMeshes = new unsigned int[1]{2};
    scene.mRootNode->addChildren(1, &board);
    auto channelFor = [](const char* node) {
        auto* anim = new aiNodeAnim;
        anim->mNodeName = node;
        anim->mNumPositionKeys = 1;
        anim->mPositionKeys = new aiVectorKey[1]{aiVectorKey(500.0, aiVector3D(1, 2, 3))};
        anim->mNumRotationKeys = 1;
        anim->mRotationKeys = new aiQuatKey[1]{aiQuatKey(1000.0, aiQuaternion(0.1f, 0.2f, 0.3f, 0.9f))};   // w, x, y, z
        return anim;
    };
    auto* animation = new aiAnimation;
    animation->mDuration = 2000.0;
    animation->mNumChannels = 2;
    animation->mChannels = new aiNodeAnim*[2]{channelFor("missing"), channelFor("board")};
    scene.mNumAnimations = 1;
    scene.mAnimations = new aiAnimation*[1]{animation};

    const std::vector<AnimationChannel> channels = readChannels(scene);
    ASSERT_EQ(channels.size(), 1u);   // the channel of a missing node animates nothing
    EXPECT_EQ(channels[0].meshIndex, 2);
    EXPECT_EQ(channels[0].duration, 2000.0);
    ASSERT_EQ(channels[0].positionKeys.size(), 1u);
    EXPECT_EQ(channels[0].positionKeys[0].time, 500.0);
    EXPECT_EQ(channels[0].positionKeys[0].value, glm::vec3(1, 2, 3));
    ASSERT_EQ(channels[0].rotationKeys.size(), 1u);
    EXPECT_EQ(channels[0].rotationKeys[0].time, 1000.0);
    EXPECT_EQ(channels[0].rotationKeys[0].value, glm::quat(0.1f, 0.2f, 0.3f, 0.9f));   // w, x, y, z
}

} // namespace
} // namespace ruma::scene
