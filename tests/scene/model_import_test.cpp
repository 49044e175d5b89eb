// Model files imported into mesh records: order, boxes, buffers, drawing and release.
#include "scene/imported_object.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

#include "platform/math_conventions.h"

#include <vector>

namespace ruma::scene {
namespace {

using ruma::test::boxIs;

class ModelImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        shader = ruma::test::makeTestShader(dir);
    }
    void TearDown() override
    {
        if (shader) deleteShader(shader);
        EXPECT_EQ(ruma::test::drainGlErrors(), 0);
    }

    ruma::test::ScratchDir dir{"model-import"};
    Shader* shader = nullptr;
};

TEST_F(ModelImport, TwoMeshesKeepFileOrderAndTheLastMeshNamesTheObjectBuffers)
{
    // Two quads as separate objects: the left one with texture coordinates, the right one without.
    dir.write("two.obj", "o left\nv -1 -1 0\nv -0.2 -1 0\nv -0.2 1 0\nv -1 1 0\n"
                         "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nf 1/1 2/2 3/3 4/4\n"
                         "o right\nv 0.2 -1 0\nv 1 -1 0\nv 1 1 0\nv 0.2 1 0\nf 5 6 7 8\n");
    testing::internal::CaptureStdout();
    auto* object = new ImportedObject(glm::mat4(1.0f), shader, dir.file("two.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  FILE: " + dir.file("two.obj") + " \n");
    ASSERT_EQ(object->meshes.size(), 2u);
    const MeshRecord& left = object->meshes[0];
    const MeshRecord& right = object->meshes[1];
    EXPECT_TRUE(boxIs(left, {-1, -0.2f, -1, 1, 0, 0}));
    EXPECT_TRUE(boxIs(right, {0.2f, 1, -1, 1, 0, 0}));
    EXPECT_EQ(object->positionBuffer, right.positionBuffer);
    EXPECT_EQ(object->indexBuffer, right.indexBuffer);
    EXPECT_NE(object->positionBuffer, left.positionBuffer);
    EXPECT_EQ(right.uvBuffer, 0u);   // no texture coordinates: no buffer for them
    EXPECT_EQ(object->uvBuffer, left.uvBuffer);

    // Drawing issues every triangle of every mesh and unbinds its vertex array.
    glUseProgram(shader->program);
    GLuint query = 0, drawn = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    object->draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &drawn);
    glDeleteQueries(1, &query);
    glUseProgram(0);
    EXPECT_EQ(drawn, 4u);
    GLint boundArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
    EXPECT_EQ(boundArray, 0);

    // Deleting the object releases the buffers and vertex arrays of every mesh.
    std::vector<GLuint> buffers;
    for (const MeshRecord& m : object->meshes)
        for (GLuint name : {m.indexBuffer, m.positionBuffer, m.normalBuffer, m.uvBuffer})
            if (name != 0) buffers.push_back(name);
    ASSERT_EQ(buffers.size(), 7u);
    const GLuint arrays[2] = {left.vao, right.vao};
    delete object;
    for (GLuint name : buffers) EXPECT_FALSE(glIsBuffer(name)) << "buffer " << name;
    for (GLuint name : arrays) EXPECT_FALSE(glIsVertexArray(name)) << "vertex array " << name;
}

TEST_F(ModelImport, BoxesIgnoreRotationAndScale)
{
    dir.write("cube.obj", "o cube\nv -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
                          "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                          "f 1 2 3\nf 1 3 4\nf 5 7 6\nf 5 8 7\nf 1 5 6\nf 1 6 2\n"
                          "f 4 3 7\nf 4 7 8\nf 1 4 8\nf 1 8 5\nf 2 6 7\nf 2 7 3\n");
    const glm::mat4 at = glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, -5));
    ImportedObject cube(glm::scale(rotateDegrees(at, 45.0f, glm::vec3(0, 1, 0)), glm::vec3(2.0f)), shader,
                        dir.file("cube.obj"));
    ASSERT_EQ(cube.meshCount, 1);
    EXPECT_TRUE(boxIs(cube.meshes[0], {9, 11, -1, 1, -6, -4}));
    EXPECT_EQ(cube.meshes[0].faceCount, 12u);
}

// Needs no GL context: nothing is uploaded for a file that cannot be read, nor
// for meshes whose positions are not finite (a damaged file), which would hand
// the physics and the culling boxes they cannot use.
TEST(ModelImportFailure, UnreadableFilesAndNonFiniteMeshesReportBothLinesAndLeaveNothingToDraw)
{
    ruma::test::ScratchDir dir("model-import-failure");
    // (a NaN first vertex: the importer merges later NaN vertices into earlier ones)
    dir.write("nan.obj", "o a\nv nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    dir.write("huge.obj", "o b\nv 0 0 1e39\nv 1 0 1\nv 0 1 1\nf 1 2 3\n");
    for (const std::string& path :
         {std::string("Resources/Models/no-such-model.obj"), dir.file("nan.obj"), dir.file("huge.obj")}) {
        SCOPED_TRACE(path);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ImportedObject object(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), nullptr, path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: reading mesh " + path + "\n");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "  FILE: " + path + " \n");
        EXPECT_EQ(object.meshCount, 0);
        EXPECT_TRUE(object.meshes.empty());
        object.draw();   // no vertex array to bind: must not touch GL at all
    }
}

} // namespace
} // namespace ruma::scene
