// Drawing helpers for the render tests: small meshes bound to a program's
// named inputs and a stand-in scene object.
#pragma once

#include "render/drawable.h"
#include "render/gl.h"
#include "render/shader.h"
#include "support/gl_pixels.h"

#include <glm/glm.hpp>

#include <string>
#include <tuple>
#include <vector>

namespace ruma::test {

using Rgb = Rgba;

// Indexed triangles with "position", "normal" and "uv" found by name in a program.
struct TestMesh {
    GLuint vao = 0;
    GLuint buffers[4] = {0, 0, 0, 0};
    GLsizei indexCount = 0;
    void draw() const;
    void release();
};

TestMesh makeSphere(GLuint program, float radius);
// A rectangle from corner spanning the two edges; its normal is edgeU x edgeV.
TestMesh makeRectangle(GLuint program, const glm::vec3& corner, const glm::vec3& edgeU, const glm::vec3& edgeV);

// A scene object as the renderer sees it; counts its draws.
class FakeDrawable : public Drawable {
public:
    FakeDrawable(std::string name_, Shader* shader_, const TestMesh* mesh_ = nullptr)
        : name(std::move(name_)), shader(shader_), mesh(mesh_) {}

    void update(double) override {}
    void draw() override;
    bool isTransparent() override { return transparent; }
    bool isUnlit() override { return unlit; }
    std::string getName() override { return name; }
    void setName(std::string n) override { name = std::move(n); }
    Shader* getShader() override { return shader; }
    const glm::mat4& modelMatrix() const override { return model; }
    const std::vector<MeshRecord>& meshRecords() const override { return meshes; }

    std::string name;
    Shader* shader;
    const TestMesh* mesh;
    glm::mat4 model = glm::mat4(1.0f);
    std::vector<MeshRecord> meshes;
    bool transparent = false;
    bool unlit = false;

    int drawCalls = 0;
};

// A mesh record whose world box spans a to b.
inline MeshRecord boxRecord(const glm::vec3& a, const glm::vec3& b)
{
    MeshRecord r;
    std::tie(r.minX, r.minY, r.minZ, r.maxX, r.maxY, r.maxZ) = std::tie(a.x, a.y, a.z, b.x, b.y, b.z);
    return r;
}

// A program of the game's shader sources, wherever the test runs from.
Shader* makeShader(const std::string& vertexFile, const std::string& fragmentFile);

} // namespace ruma::test
