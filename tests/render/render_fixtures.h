// Drawing helpers for the render tests: an off-screen target to read pixels
// back from, small meshes bound to a program's named inputs, a stand-in scene
// object and image files to load as textures.
#pragma once

#include "render/drawable.h"
#include "render/gl.h"
#include "render/shader.h"

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

namespace ruma::test {

struct Rgb {
    int r = 0, g = 0, b = 0;
    int brightness() const { return r + g + b; }
};

// A framebuffer with an RGBA colour and a depth attachment of its own size.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    // Binds it, sets the viewport and clears colour (to clearColour) and depth.
    void bindAndClear(const glm::vec3& clearColour = glm::vec3(0.0f));
    // RGB rows, bottom row first.
    std::vector<unsigned char> read() const;
    Rgb at(int x, int y) const;
    bool save(const std::string& path) const;

    int width, height;
    GLuint framebuffer = 0, colour = 0, depth = 0;
};

// RGB rows of a framebuffer's first colour attachment, bottom row first.
std::vector<unsigned char> readFramebuffer(GLuint framebuffer, int width, int height);

// Indexed triangles with "position", "normal" and "uv" found by name in a program.
struct TestMesh {
    GLuint vao = 0;
    GLuint buffers[4] = {0, 0, 0, 0};
    GLsizei indexCount = 0;
    void draw() const;
    void release();
};

TestMesh makeSphere(GLuint program, float radius, int rings, int segments);
// A rectangle from corner spanning the two edges; its normal is edgeU x edgeV.
TestMesh makeRectangle(GLuint program, const glm::vec3& corner, const glm::vec3& edgeU,
                       const glm::vec3& edgeV);

// A scene object as the renderer sees it; records the GL state of its draws.
class FakeDrawable : public Drawable {
public:
    FakeDrawable(std::string name, Shader* shader, const TestMesh* mesh = nullptr);

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
    bool blendDuringDraw = false;
    GLint programDuringDraw = 0;
    GLint textureDuringDraw = 0;
};

// A mesh record whose world box spans a to b.
MeshRecord boxRecord(const glm::vec3& a, const glm::vec3& b);

// Writes an image file (type from the extension) whose pixel (x, y), y up, is pixel(x, y).
void writeImage(const std::string& path, int width, int height,
                const std::function<Rgb(int, int)>& pixel);

// Where tests leave the pictures worth looking at.
std::string pictureDir();

// The game's shader sources, wherever the test runs from.
std::string shaderPath(const std::string& file);
Shader* makeShader(const std::string& vertexFile, const std::string& fragmentFile);

// A uniform's floats (up to 16) as the program holds them.
std::vector<float> uniformFloats(GLuint program, const char* name, int count);
int uniformInt(GLuint program, const char* name);

} // namespace ruma::test
