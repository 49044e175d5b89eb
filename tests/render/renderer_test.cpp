// The scene pass's culling: which entries are drawn (how they look, lit or
// not, is held by the end-to-end runs' reference pictures).
#include "render/renderer.h"

#include "render/drawable.h"
#include "render/render_settings.h"
#include "render/shader.h"
#include "render/texture.h"
#include "support/gl_context.h"
#include "support/image.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

// A course section as the renderer sees it: its boxes, and a count of its draws.
class FakeSection : public Drawable {
public:
    explicit FakeSection(Shader* shader_) : shader(shader_) { kind = DrawableKind::CourseSection; }
    void update(double) override {}
    void draw() override { ++drawCalls; }
    bool isTransparent() override { return false; }
    bool isUnlit() override { return true; }
    std::string getName() override { return "Level"; }
    void setName(std::string) override {}
    Shader* getShader() override { return shader; }
    const glm::mat4& modelMatrix() const override { return model; }
    const std::vector<MeshRecord>& meshRecords() const override { return meshes; }

    Shader* shader;
    glm::mat4 model = glm::mat4(1.0f);
    std::vector<MeshRecord> meshes;
    int drawCalls = 0;
};

// A mesh record whose world box is two units wide around z.
MeshRecord boxAt(float z)
{
    MeshRecord r;
    r.minX = r.minY = -1.0f;
    r.maxX = r.maxY = 1.0f;
    r.minZ = z - 1.0f;
    r.maxZ = z + 1.0f;
    return r;
}

TEST(DrawPass, CullsOnlyLevelSectionsOutOfView)
{
    TOVIK3D_REQUIRE_GL();
    resetRenderSettings();
    test::ScratchDir scratch("render-draw");
    for (const char* file : {"a.png", "b.png"})
        test::writeImage(scratch.file(file), 8, 8, [](int, int) { return test::Rgba{230, 150, 80}; });
    Texture* entryTexture = new Texture(scratch.file("a.png"));
    Texture* bound = new Texture(scratch.file("b.png"));
    const std::string shaders = test::sourceDir() + "/Resources/Shader/";
    Shader* shader = new Shader(shaders + "basic.vert", shaders + "basicnolight.frag");
    Renderer renderer;
    renderer.frustum->updateFromCamera(glm::vec3(0.0f), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));
    const MeshRecord behind = boxAt(-11.0f), ahead = boxAt(11.0f);
    FakeSection section(shader);
    section.meshes = {behind, behind};

    // A culled section binds nothing.
    glBindTexture(GL_TEXTURE_2D, bound->handle);
    renderer.drawEntry(RenderEntry{&section, entryTexture});
    EXPECT_EQ(section.drawCalls, 0);
    EXPECT_EQ(renderer.objectsDrawn, 0);
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(static_cast<GLuint>(texture), bound->handle);

    // One box of three in view is enough, one of four is not.
    section.meshes = {behind, ahead, behind};
    renderer.drawEntry(RenderEntry{&section, entryTexture});
    EXPECT_EQ(section.drawCalls, 1);
    section.meshes = {behind, behind, ahead, behind};
    renderer.drawEntry(RenderEntry{&section, entryTexture});
    EXPECT_EQ(section.drawCalls, 1);

    // Only a course section is culled, and only while culling is on.
    section.meshes = {behind};
    for (DrawableKind kind : {DrawableKind::Plain, DrawableKind::Cat, DrawableKind::CourseSection}) {
        section.kind = kind;
        frustumCulling = kind != DrawableKind::CourseSection;
        renderer.drawEntry(RenderEntry{&section, entryTexture});
    }
    EXPECT_EQ(section.drawCalls, 4);
    EXPECT_EQ(renderer.objectsDrawn, 4);

    deleteShader(shader);
    deleteTexture(entryTexture);
    deleteTexture(bound);
    renderer.release();
    resetRenderSettings();
    EXPECT_EQ(test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma
