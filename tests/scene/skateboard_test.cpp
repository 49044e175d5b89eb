// The skateboard loaded from a small COLLADA file: its channel read from the
// file, and every frame's pose written into the mesh's own buffer.
#include "scene/animated_object.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

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

TEST(Skateboard, PosesTheMeshIntoItsOwnBufferAndBoxesItAtThePlacement)
{
    TOVIK3D_REQUIRE_GL();
    ruma::test::InScratchDirectory here("skateboard");
    here.scratch().write("Resources/Models/skateboard.dae", kBoard);
    Shader* shader = ruma::test::makeTestShader(here.scratch());
    testing::internal::CaptureStdout();
    auto owned = std::make_unique<AnimatedObject>(glm::mat4(1.0f), shader);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  FILE: Resources/Models/skateboard.dae \n");
    AnimatedObject& board = *owned;
    ASSERT_EQ(board.meshCount, 1);
    ASSERT_EQ(board.channels.size(), 1u);
    EXPECT_DOUBLE_EQ(board.channels[0].duration, 2000.0);   // the importer counts milliseconds
    MeshRecord& mesh = board.meshes[0];
    const GLuint buffer = mesh.positionBuffer;
    auto uploaded = [&] {
        std::vector<float> positions(9, -99.0f);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(float) * 9, positions.data());
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        return positions;
    };
    EXPECT_EQ(uploaded(), (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));

    // Placed under a cat at (5, 0, 0): a frame of 500 s reaches 1000 ms, half-way.
    board.model = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0));
    board.update(500.0);
    const float h = std::sqrt(0.5f);
    // Half turn about z, then 45 degrees about y, then 1 along x.
    const std::vector<float> expected = {1 - h, 0, h, 1, -1, 0, 1 + h, 0, h};
    const std::vector<float> posed = uploaded();
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(posed[i], expected[i], 1e-5f) << "component " << i;
    EXPECT_TRUE(ruma::test::boxIs(mesh, {6 - h, 6 + h, -1, 0, 0, h}));
    EXPECT_EQ(mesh.basePositions, (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));   // kept as loaded
    // Later frames, wrapping past the end, reuse the same buffer.
    for (int frame = 0; frame < 200; ++frame) board.update(7.3);
    EXPECT_EQ(mesh.positionBuffer, buffer);
    owned.reset();
    deleteShader(shader);
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma::scene
