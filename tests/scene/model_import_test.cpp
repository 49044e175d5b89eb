#include "scene/imported_object.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

#include "platform/math_conventions.h"

#include <vector>

namespace ruma::scene {
namespace {

using ruma::test::ScratchDir;

// Two quads as separate objects, in clip coordinates: the left one with
// texture coordinates, the right one without.
const char* kTwoQuads =
    "o left\n"
    "v -1 -1 0\nv -0.2 -1 0\nv -0.2 1 0\nv -1 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "f 1/1 2/2 3/3 4/4\n"
    "o right\n"
    "v 0.2 -1 0\nv 1 -1 0\nv 1 1 0\nv 0.2 1 0\n"
    "f 5 6 7 8\n";

const char* kCube =
    "o cube\n"
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
    "f 1 2 3\nf 1 3 4\nf 5 7 6\nf 5 8 7\nf 1 5 6\nf 1 6 2\n"
    "f 4 3 7\nf 4 7 8\nf 1 4 8\nf 1 8 5\nf 2 6 7\nf 2 7 3\n";

GLint bufferSize(GLuint buffer)
{
    GLint size = -1;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return size;
}

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
    }

    ScratchDir dir{"model-import"};
    Shader* shader = nullptr;
};

TEST_F(ModelImport, TwoMeshesKeepFileOrderAndTheLastMeshNamesTheObjectBuffers)
{
    dir.write("two.obj", kTwoQuads);
    testing::internal::CaptureStdout();
    ImportedObject object(glm::mat4(1.0f), shader, dir.file("two.obj"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "  FILE: " + dir.file("two.obj") + " \n");

    ASSERT_EQ(object.meshCount, 2);
    ASSERT_EQ(object.meshes.size(), 2u);
    const MeshRecord& left = object.meshes[0];
    const MeshRecord& right = object.meshes[1];
    EXPECT_TRUE(ruma::test::boxIs(left, {-1, -0.2f, -1, 1, 0, 0}));
    EXPECT_TRUE(ruma::test::boxIs(right, {0.2f, 1, -1, 1, 0, 0}));
    EXPECT_EQ(left.faceCount, 2u);
    EXPECT_EQ(right.faceCount, 2u);
    EXPECT_NE(left.vao, right.vao);

    EXPECT_EQ(object.positionBuffer, right.positionBuffer);
    EXPECT_EQ(object.indexBuffer, right.indexBuffer);
    EXPECT_EQ(object.normalBuffer, right.normalBuffer);
    EXPECT_NE(object.positionBuffer, left.positionBuffer);
    // The right quad has no texture coordinates: no buffer and no attribute for them.
    EXPECT_NE(left.uvBuffer, 0u);
    EXPECT_EQ(right.uvBuffer, 0u);
    EXPECT_EQ(object.uvBuffer, left.uvBuffer);

    const GLint uvLocation = glGetAttribLocation(shader->program, "uv");
    const GLint positionLocation = glGetAttribLocation(shader->program, "position");
    ASSERT_GE(uvLocation, 0);
    for (const MeshRecord* record : {&left, &right}) {
        glBindVertexArray(record->vao);
        GLint elements = 0, positions = 0, uvEnabled = -1;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
        glGetVertexAttribiv(static_cast<GLuint>(positionLocation), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING,
                            &positions);
        glGetVertexAttribiv(static_cast<GLuint>(uvLocation), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &uvEnabled);
        EXPECT_EQ(static_cast<GLuint>(elements), record->indexBuffer);
        EXPECT_EQ(static_cast<GLuint>(positions), record->positionBuffer);
        EXPECT_EQ(uvEnabled != 0, record == &left);
        glBindVertexArray(0);
    }
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

TEST_F(ModelImport, BoxesIgnoreRotationAndScaleAndIndicesComeThreePerFace)
{
    dir.write("cube.obj", kCube);
    const glm::mat4 placement = glm::scale(rotateDegrees(glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, -5)),
                                                         45.0f, glm::vec3(0, 1, 0)),
                                           glm::vec3(2.0f));
    ImportedObject cube(placement, shader, dir.file("cube.obj"));
    ASSERT_EQ(cube.meshCount, 1);
    const MeshRecord& box = cube.meshes[0];
    EXPECT_TRUE(ruma::test::boxIs(box, {9, 11, -1, 1, -6, -4}));
    EXPECT_EQ(box.faceCount, 12u);
    EXPECT_EQ(bufferSize(box.indexBuffer), 144);
    EXPECT_EQ(bufferSize(box.positionBuffer), 8 * 12);

    // A lone point becomes one face that repeats its only index, with a box of
    // no size at the point.
    dir.write("point.obj", "# one point and nothing else in the file\no dot\nv 1 2 3\np 1\n");
    ImportedObject dot(glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, -5)), shader, dir.file("point.obj"));
    ASSERT_EQ(dot.meshCount, 1);
    const MeshRecord& point = dot.meshes[0];
    EXPECT_EQ(point.faceCount, 1u);
    EXPECT_TRUE(ruma::test::boxIs(point, {11, 11, 2, 2, -2, -2}));
    std::vector<unsigned int> indices(3, 99u);
    glBindBuffer(GL_ARRAY_BUFFER, point.indexBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 12, indices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(indices, std::vector<unsigned int>(3, 0u));
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

TEST_F(ModelImport, DrawIssuesEveryTriangleOfEveryMeshAndUnbindsItsVertexArray)
{
    dir.write("two.obj", kTwoQuads);
    dir.write("cube.obj", kCube);
    ImportedObject quads(glm::mat4(1.0f), shader, dir.file("two.obj"));
    ImportedObject cube(glm::mat4(1.0f), shader, dir.file("cube.obj"));
    glUseProgram(shader->program);
    GLuint query = 0;
    glGenQueries(1, &query);
    for (auto [object, triangles] : {std::pair<SceneObject*, GLuint>{&quads, 4u}, {&cube, 12u}}) {
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        object->draw();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint drawn = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &drawn);
        EXPECT_EQ(drawn, triangles);
        GLint boundArray = -1;
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
        EXPECT_EQ(boundArray, 0);
    }
    glDeleteQueries(1, &query);
    glUseProgram(0);
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

TEST_F(ModelImport, DeletingTheObjectReleasesTheBuffersOfEveryMesh)
{
    dir.write("two.obj", kTwoQuads);
    auto* object = new ImportedObject(glm::mat4(1.0f), shader, dir.file("two.obj"));
    std::vector<GLuint> buffers, arrays;
    for (const MeshRecord& record : object->meshes) {
        for (GLuint name : {record.indexBuffer, record.positionBuffer, record.normalBuffer, record.uvBuffer})
            if (name != 0) buffers.push_back(name);
        arrays.push_back(record.vao);
    }
    ASSERT_EQ(buffers.size(), 7u);
    for (GLuint name : buffers) ASSERT_TRUE(glIsBuffer(name));
    delete object;
    for (GLuint name : buffers) EXPECT_FALSE(glIsBuffer(name)) << "buffer " << name;
    for (GLuint name : arrays) EXPECT_FALSE(glIsVertexArray(name)) << "vertex array " << name;
    EXPECT_EQ(ruma::test::drainGlErrors(), 0);
}

// Needs no GL context: nothing is uploaded for a file that cannot be read.
TEST(ModelImportFailure, MissingFileReportsBothLinesAndLeavesNothingToDraw)
{
    const std::string path = "Resources/Models/no-such-model.obj";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ImportedObject object(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), nullptr, path);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "ERROR: reading mesh " + path + "\n");
    EXPECT_EQ(out, "  FILE: " + path + " \n");
    EXPECT_EQ(object.meshCount, 0);
    EXPECT_TRUE(object.meshes.empty());
    EXPECT_EQ(object.positionBuffer, 0u);
    object.draw();   // no vertex array to bind: must not touch GL at all
    object.translate(glm::vec3(1, 0, 0));
    EXPECT_EQ(translationOf(object.model), glm::vec3(2, 2, 3));
}

} // namespace
} // namespace ruma::scene
