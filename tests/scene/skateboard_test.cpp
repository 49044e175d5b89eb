// The course's skateboard: every frame its animated meshes are posed into
// their own position buffers and boxed where the board stands.
#include "scene/animated_object.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace ruma::scene {
namespace {

TEST(Skateboard, PosesItsMeshesIntoTheirOwnBuffersAndBoxesThemAtThePlacement)
{
    TOVIK3D_REQUIRE_GL();
    ruma::test::ScratchDir dir("skateboard");
    Shader* shader = ruma::test::makeTestShader(dir);
    auto board = ruma::test::quietly([&] {
        return std::make_unique<AnimatedObject>(glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0)), shader);
    });
    ASSERT_FALSE(board->channels.empty());
    const AnimationChannel& channel = board->channels[0];
    ASSERT_GE(channel.meshIndex, 0);
    MeshRecord& mesh = board->meshes[size_t(channel.meshIndex)];
    const GLuint buffer = mesh.positionBuffer;

    // A quarter of the way through the animation: the clock runs at twice the frame time.
    board->update(channel.duration / 8.0);
    std::vector<float> posed(mesh.basePositions.size());
    poseVertices(mesh.basePositions.data(), mesh.vertexCount, evaluateChannel(channel, channel.duration / 4.0),
                 posed.data());
    EXPECT_NE(posed, mesh.basePositions) << "the board does not move";
    std::vector<float> uploaded(posed.size());
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(uploaded.size() * sizeof(float)), uploaded.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(uploaded, posed);
    std::array<float, 6> box = {1e9f, -1e9f, 1e9f, -1e9f, 1e9f, -1e9f};
    for (size_t i = 0; i < posed.size(); ++i) {
        const float v = posed[i] + (i % 3 == 0 ? 5.0f : 0.0f);
        box[2 * (i % 3)] = std::min(box[2 * (i % 3)], v);
        box[2 * (i % 3) + 1] = std::max(box[2 * (i % 3) + 1], v);
    }
    EXPECT_TRUE(ruma::test::boxIs(mesh, box, 1e-4f));
    // Later frames, wrapping past the end, reuse the same buffer.
    for (int frame = 0; frame < 200; ++frame) board->update(channel.duration / 70.0);
    EXPECT_EQ(mesh.positionBuffer, buffer);
    board.reset();
    deleteShader(shader);
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma::scene
