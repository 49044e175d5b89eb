// The scene pass: which entries are drawn, and the program an object is lit
// by (how the toon shading looks is held by the end-to-end runs' reference
// pictures).
#include "render/renderer.h"

#include "platform/math_conventions.h"
#include "render/render_settings.h"
#include "render/texture.h"
#include "render_fixtures.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <deque>

namespace ruma {
namespace {

using test::FakeDrawable;
using test::Rgb;

const glm::vec3 kSphereCentre(2.61f, 0.6f, -2.94f);

class DrawPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        resetRenderSettings();
        test::writeImage(scratch.file("orange.png"), 8, 8, [](int, int) { return Rgb{230, 150, 80}; });
        test::writeImage(scratch.file("floor.png"), 64, 64, [](int x, int y) {
            const int v = ((x / 8 + y / 8) % 2) ? 210 : 170;
            return Rgb{v, v, v};
        });
        orange = new Texture(scratch.file("orange.png"));
        floorTexture = new Texture(scratch.file("floor.png"));
        lookFrom(glm::vec3(2.61f, 1.8f, 0.5f), kSphereCentre);
    }

    void TearDown() override
    {
        if (IsSkipped()) return;
        for (Shader*& shader : shaders) deleteShader(shader);
        for (test::TestMesh& mesh : meshes) mesh.release();
        deleteTexture(orange);
        deleteTexture(floorTexture);
        renderer.release();
        resetRenderSettings();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    void lookFrom(const glm::vec3& eye, const glm::vec3& target)
    {
        renderer.camera.projection = perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f);
        renderer.camera.view = glm::lookAt(eye, target, glm::vec3(0, 1, 0));
        renderer.camera.cameraPosition = eye;
        renderer.camera.lookAt = target;
    }

    Shader* newShader(const char* fragment)
    {
        shaders.push_back(test::makeShader("basic.vert", fragment));
        return shaders.back();
    }

    // A lit sphere of its own program at the given place.
    FakeDrawable sphere(const glm::vec3& centre)
    {
        Shader* shader = newShader("toon.frag");
        meshes.push_back(test::makeSphere(shader->program, 0.6f));
        FakeDrawable object("Cat", shader, &meshes.back());
        object.model = glm::translate(glm::mat4(1.0f), centre);
        return object;
    }

    static RenderEntry entryFor(FakeDrawable& object, Texture* texture, float shininess = 45.0f)
    {
        return RenderEntry{&object, texture, shininess, glm::vec3(1.0f)};
    }

    test::ScratchDir scratch{"render-draw"};
    Renderer renderer;
    Texture* orange = nullptr;
    Texture* floorTexture = nullptr;
    std::vector<Shader*> shaders;
    std::deque<test::TestMesh> meshes;
};

TEST_F(DrawPass, CullsOnlyLevelSectionsOutOfView)
{
    renderer.frustum->updateFromCamera(glm::vec3(0.0f), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));
    const MeshRecord behind = test::boxRecord(glm::vec3(-1, -1, -12), glm::vec3(1, 1, -10));
    const MeshRecord ahead = test::boxRecord(glm::vec3(-1, -1, 10), glm::vec3(1, 1, 12));
    FakeDrawable section("Level", newShader("basicnolight.frag"));
    section.unlit = true;
    section.meshes = {behind, behind};

    // A culled section binds nothing.
    glBindTexture(GL_TEXTURE_2D, floorTexture->handle);
    renderer.drawEntry(entryFor(section, orange));
    EXPECT_EQ(section.drawCalls, 0);
    EXPECT_EQ(renderer.objectsDrawn, 0);
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(static_cast<GLuint>(texture), floorTexture->handle);

    // One box of three in view is enough, one of four is not.
    section.meshes = {behind, ahead, behind};
    renderer.drawEntry(entryFor(section, orange));
    EXPECT_EQ(section.drawCalls, 1);
    section.meshes = {behind, behind, ahead, behind};
    renderer.drawEntry(entryFor(section, orange));
    EXPECT_EQ(section.drawCalls, 1);

    // Only the exact name "Level" is culled, and only while culling is on.
    section.meshes = {behind};
    for (const char* name : {"level", "Cat", "Level"}) {
        section.name = name;
        frustumCulling = section.name != "Level";
        renderer.drawEntry(entryFor(section, orange));
    }
    EXPECT_EQ(section.drawCalls, 4);
    EXPECT_EQ(renderer.objectsDrawn, 4);
}

// Built for just the lamp lights in use, the lit program draws the very
// pixels of the one that shades all fourteen slots, also when a second draw
// finds the lamps already in it.
TEST_F(DrawPass, TheProgramForTheLightsInUseDrawsTheSamePixels)
{
    const size_t lamps = renderer.selectLights(kSphereCentre.x, kSphereCentre.y, kSphereCentre.z).size();
    ASSERT_GT(lamps, 0u);
    ASSERT_LT(lamps, static_cast<size_t>(kMaxLights));
    test::OffscreenTarget target(160, 90);
    auto render = [&](FakeDrawable& object) {
        target.bindAndClear();
        renderer.drawEntry(entryFor(object, orange));
        return target.read();
    };
    FakeDrawable everySlot = sphere(kSphereCentre);
    const std::vector<unsigned char> expected = render(everySlot);
    FakeDrawable inUse = sphere(kSphereCentre);
    const std::string shaderDir = test::sourceDir() + "/Resources/Shader/";
    renderer.useLightVariants(inUse.shader, shaderDir + "basic.vert", shaderDir + "toon.frag");
    EXPECT_EQ(render(inUse), expected);
    EXPECT_EQ(render(inUse), expected);
}

} // namespace
} // namespace ruma
