#include "scene/animated_object.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

#include "platform/math_conventions.h"

#include <cmath>
#include <memory>
#include <vector>

namespace ruma::scene {
namespace {

// One triangle on the node "board", moved along x from 0 to 2 and turned about
// y from 0 to 90 degrees over two seconds (the importer counts milliseconds).
const char* kBoard =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
    "<asset><unit name=\"meter\" meter=\"1\"/><up_axis>Y_UP</up_axis></asset>\n"
    "<library_geometries><geometry id=\"board-mesh\"><mesh>\n"
    "<source id=\"pos\"><float_array id=\"pos-a\" count=\"9\">1 0 0 0 1 0 0 0 1</float_array>\n"
    "<technique_common><accessor source=\"#pos-a\" count=\"3\" stride=\"3\">"
    "<param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
    "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>\n"
    "<vertices id=\"verts\"><input semantic=\"POSITION\" source=\"#pos\"/></vertices>\n"
    "<triangles count=\"1\"><input semantic=\"VERTEX\" source=\"#verts\" offset=\"0\"/><p>0 1 2</p>"
    "</triangles>\n"
    "</mesh></geometry></library_geometries>\n"
    "<library_animations>\n"
    "<animation id=\"move\">\n"
    "<source id=\"move-in\"><float_array id=\"move-in-a\" count=\"2\">0 2</float_array>"
    "<technique_common><accessor source=\"#move-in-a\" count=\"2\" stride=\"1\">"
    "<param name=\"TIME\" type=\"float\"/></accessor></technique_common></source>\n"
    "<source id=\"move-out\"><float_array id=\"move-out-a\" count=\"6\">0 0 0 2 0 0</float_array>"
    "<technique_common><accessor source=\"#move-out-a\" count=\"2\" stride=\"3\">"
    "<param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
    "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>\n"
    "<sampler id=\"move-s\"><input semantic=\"INPUT\" source=\"#move-in\"/>"
    "<input semantic=\"OUTPUT\" source=\"#move-out\"/></sampler>\n"
    "<channel source=\"#move-s\" target=\"board/translate\"/></animation>\n"
    "<animation id=\"turn\">\n"
    "<source id=\"turn-in\"><float_array id=\"turn-in-a\" count=\"2\">0 2</float_array>"
    "<technique_common><accessor source=\"#turn-in-a\" count=\"2\" stride=\"1\">"
    "<param name=\"TIME\" type=\"float\"/></accessor></technique_common></source>\n"
    "<source id=\"turn-out\"><float_array id=\"turn-out-a\" count=\"2\">0 90</float_array>"
    "<technique_common><accessor source=\"#turn-out-a\" count=\"2\" stride=\"1\">"
    "<param name=\"ANGLE\" type=\"float\"/></accessor></technique_common></source>\n"
    "<sampler id=\"turn-s\"><input semantic=\"INPUT\" source=\"#turn-in\"/>"
    "<input semantic=\"OUTPUT\" source=\"#turn-out\"/></sampler>\n"
    "<channel source=\"#turn-s\" target=\"board/rotY.ANGLE\"/></animation>\n"
    "</library_animations>\n"
    "<library_visual_scenes><visual_scene id=\"Scene\"><node id=\"board\" name=\"board\" sid=\"board\">\n"
    "<translate sid=\"translate\">0 0 0</translate><rotate sid=\"rotY\">0 1 0 0</rotate>\n"
    "<instance_geometry url=\"#board-mesh\"/></node></visual_scene></library_visual_scenes>\n"
    "<scene><instance_visual_scene url=\"#Scene\"/></scene></COLLADA>\n";

std::vector<float> readPositions(const MeshRecord& record)
{
    std::vector<float> positions(3 * record.vertexCount, -99.0f);
    glBindBuffer(GL_ARRAY_BUFFER, record.positionBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(positions.size() * sizeof(float)),
                       positions.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return positions;
}

class Skateboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        here.scratch().write("Resources/Models/skateboard.dae", kBoard);
        shader = ruma::test::makeTestShader(here.scratch());
    }
    void TearDown() override
    {
        if (shader) deleteShader(shader);
    }

    ruma::test::InScratchDirectory here{"skateboard"};
    Shader* shader = nullptr;
};

TEST_F(Skateboard, LoadsTheNodeChannelAndKeepsTheUnanimatedPositions)
{
    testing::internal::CaptureStdout();
    AnimatedObject board(glm::mat4(1.0f), shader);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  FILE: Resources/Models/skateboard.dae \n");
    ASSERT_EQ(board.meshCount, 1);
    ASSERT_EQ(board.channels.size(), 1u);
    const AnimationChannel& channel = board.channels[0];
    EXPECT_EQ(channel.meshIndex, 0);
    EXPECT_DOUBLE_EQ(channel.duration, 2000.0);
    ASSERT_EQ(channel.positionKeys.size(), 2u);
    EXPECT_DOUBLE_EQ(channel.positionKeys[1].time, 2000.0);
    EXPECT_EQ(channel.positionKeys[1].value, glm::vec3(2, 0, 0));
    ASSERT_EQ(channel.rotationKeys.size(), 2u);
    // 90 degrees about y, kept as x, y, z, w.
    const glm::quat turn = channel.rotationKeys[1].value;
    EXPECT_NEAR(turn.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turn.y, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(turn.z, 0.0f, 1e-6f);
    EXPECT_NEAR(turn.w, std::sqrt(0.5f), 1e-6f);

    const MeshRecord& mesh = board.meshes[0];
    EXPECT_EQ(mesh.vertexCount, 3u);
    EXPECT_EQ(mesh.basePositions, (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(readPositions(mesh), mesh.basePositions);
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

TEST_F(Skateboard, EachFramePosesTheMeshIntoItsOwnBufferAndBoxesItAtThePlacement)
{
    const auto owned =
        ruma::test::quietly([&] { return std::make_unique<AnimatedObject>(glm::mat4(1.0f), shader); });
    AnimatedObject& board = *owned;
    ASSERT_EQ(board.meshCount, 1);
    MeshRecord& mesh = board.meshes[0];
    const GLuint buffer = mesh.positionBuffer;
    const float* scratch = board.posedPositions[0].data();

    // Placed under a cat at (5, 0, 0). The clock runs at twice the frame time
    // in the file's units, here milliseconds: a frame of 500 s reaches 1000 ms.
    board.model = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0));
    board.update(500.0);
    EXPECT_EQ(board.animationTime, 1000.0);
    const float h = std::sqrt(0.5f);
    // Half turn about z, then 45 degrees about y, then 1 along x.
    const std::vector<float> expected = {1 - h, 0, h, 1, -1, 0, 1 + h, 0, h};
    const std::vector<float> uploaded = readPositions(mesh);
    ASSERT_EQ(uploaded.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(uploaded[i], expected[i], 1e-5f) << "component " << i;
    EXPECT_TRUE(ruma::test::boxIs(mesh, {6 - h, 6 + h, -1, 0, 0, h}));
    // The unanimated positions stay as loaded.
    EXPECT_EQ(mesh.basePositions, (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));

    // Later frames (and wrapping past the end) reuse the same buffer and
    // scratch memory, and the vertex array still draws from that buffer.
    for (int frame = 0; frame < 200; ++frame) board.update(7.3);
    EXPECT_EQ(mesh.positionBuffer, buffer);
    EXPECT_EQ(board.posedPositions[0].data(), scratch);
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(size, 36);
    const GLint location = glGetAttribLocation(shader->program, "position");
    glBindVertexArray(mesh.vao);
    GLint attached = 0;
    glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &attached);
    glBindVertexArray(0);
    EXPECT_EQ(static_cast<GLuint>(attached), buffer);
    GLint boundArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
    EXPECT_EQ(boundArray, 0);
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma::scene
