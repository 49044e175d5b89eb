// The scene pass: which entries are drawn, what each program receives, the GL
// state around each draw, and how the toon shading looks under a lamp.
#include "render/renderer.h"

#include "platform/math_conventions.h"
#include "render/render_settings.h"
#include "render/texture.h"
#include "render_fixtures.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <deque>
#include <set>

namespace ruma {
namespace {

using test::FakeDrawable;
using test::Rgb;

const glm::vec3 kLampZero(2.61f, 2.85f, -2.94f);   // the first lamp of the course
const glm::vec3 kSphereCentre(2.61f, 0.6f, -2.94f);

class DrawPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::ensureGlContext()) GTEST_SKIP() << "no display";
        resetRenderSettings();
        test::writeImage(scratch.file("orange.png"), 8, 8, [](int, int) { return Rgb{230, 150, 80}; });
        test::writeImage(scratch.file("floor.png"), 64, 64, [](int x, int y) {
            int v = ((x / 8 + y / 8) % 2) ? 210 : 170;
            return Rgb{v, v, v};
        });
        orange = new Texture(scratch.file("orange.png"));
        floorTexture = new Texture(scratch.file("floor.png"));
        lookFrom(glm::vec3(2.61f, 1.8f, 0.5f), kSphereCentre);
    }

    void TearDown() override
    {
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
    FakeDrawable sphere(const glm::vec3& centre, float radius = 0.6f)
    {
        Shader* shader = newShader("toon.frag");
        meshes.push_back(test::makeSphere(shader->program, radius, 24, 32));
        FakeDrawable object("Cat", shader, &meshes.back());
        object.model = glm::translate(glm::mat4(1.0f), centre);
        return object;
    }

    RenderEntry entryFor(FakeDrawable& object, Texture* texture, float shininess = 45.0f)
    {
        RenderEntry entry;
        entry.object = &object;
        entry.texture = texture;
        entry.shininess = shininess;
        entry.specularColor = glm::vec3(1.0f);
        return entry;
    }

    test::ScratchDir scratch{"render-draw"};
    Renderer renderer;
    Texture* orange = nullptr;
    Texture* floorTexture = nullptr;
    std::vector<Shader*> shaders;
    std::deque<test::TestMesh> meshes;
};

double meanBrightness(const std::vector<unsigned char>& rgb)
{
    double sum = 0.0;
    for (unsigned char c : rgb) sum += c;
    return sum / static_cast<double>(rgb.size());
}

TEST_F(DrawPass, CullsOnlyLevelSectionsOutOfView)
{
    renderer.frustum->updateFromCamera(glm::vec3(0.0f), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));
    const MeshRecord behind = test::boxRecord(glm::vec3(-1, -1, -12), glm::vec3(1, 1, -10));
    const MeshRecord ahead = test::boxRecord(glm::vec3(-1, -1, 10), glm::vec3(1, 1, 12));
    Shader* unlit = newShader("basicnolight.frag");
    FakeDrawable section("Level", unlit);
    section.unlit = true;
    section.meshes = {behind, behind};

    // A culled section leaves everything as it was.
    glUseProgram(shaders.front()->program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, floorTexture->handle);
    renderer.drawEntry(entryFor(section, orange));
    EXPECT_EQ(section.drawCalls, 0);
    EXPECT_EQ(renderer.objectsDrawn, 0);
    GLint program = 0, texture = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(static_cast<GLuint>(program), shaders.front()->program);
    EXPECT_EQ(static_cast<GLuint>(texture), floorTexture->handle);

    // One box of three in view is enough.
    section.meshes = {behind, ahead, behind};
    renderer.drawEntry(entryFor(section, orange));
    EXPECT_EQ(section.drawCalls, 1);

    // Only the exact name "Level" is culled, and only while culling is on.
    section.meshes = {behind};
    section.name = "level";
    renderer.drawEntry(entryFor(section, orange));
    section.name = "Cat";
    renderer.drawEntry(entryFor(section, orange));
    section.name = "Level";
    frustumCulling = false;
    renderer.drawEntry(entryFor(section, orange));
    EXPECT_EQ(section.drawCalls, 4);
    EXPECT_EQ(renderer.objectsDrawn, 4);
}

TEST_F(DrawPass, BlendsOnlyTransparentObjectsAndCleansUp)
{
    FakeDrawable player = sphere(kSphereCentre);
    player.transparent = true;
    test::OffscreenTarget target(64, 36);
    target.bindAndClear();

    renderer.drawEntry(entryFor(player, orange));
    EXPECT_TRUE(player.blendDuringDraw);
    EXPECT_EQ(static_cast<GLuint>(player.programDuringDraw), player.shader->program);
    EXPECT_EQ(static_cast<GLuint>(player.textureDuringDraw), orange->handle);

    GLint program = -1, texture = 0, unit = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(texture), orange->handle);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(test::uniformInt(player.shader->program, "colorTexture"), 0);

    transparency = false;
    renderer.drawEntry(entryFor(player, floorTexture));
    EXPECT_FALSE(player.blendDuringDraw);
    EXPECT_EQ(static_cast<GLuint>(player.textureDuringDraw), floorTexture->handle);
    player.transparent = false;
    transparency = true;
    renderer.drawEntry(entryFor(player, orange));
    EXPECT_FALSE(player.blendDuringDraw);
    EXPECT_EQ(renderer.objectsDrawn, 3);
}

TEST_F(DrawPass, OnlyLitObjectsGetCameraMaterialAndTheLampsNearTheLookAtPoint)
{
    FakeDrawable cat = sphere(kSphereCentre);
    FakeDrawable board = sphere(kSphereCentre);   // the lit program, drawn as unlit
    board.unlit = true;
    renderer.drawEntry(entryFor(cat, orange, 80.0f));
    renderer.drawEntry(entryFor(board, orange, 80.0f));

    glm::mat4 mvp = renderer.camera.projection * renderer.camera.view * cat.model;
    const std::vector<float> expectedMvp(glm::value_ptr(mvp), glm::value_ptr(mvp) + 16);
    GLuint lit = cat.shader->program, unlit = board.shader->program;
    EXPECT_EQ(test::uniformFloats(lit, "MVP", 16), expectedMvp);
    EXPECT_EQ(test::uniformFloats(unlit, "MVP", 16), expectedMvp);
    EXPECT_EQ(test::uniformFloats(lit, "model", 16),
              std::vector<float>(glm::value_ptr(cat.model), glm::value_ptr(cat.model) + 16));
    EXPECT_EQ(test::uniformFloats(lit, "cameraPosition", 3), (std::vector<float>{2.61f, 1.8f, 0.5f}));
    EXPECT_EQ(test::uniformFloats(lit, "shininess", 1), (std::vector<float>{80.0f}));
    EXPECT_EQ(test::uniformFloats(lit, "specularColor", 3), (std::vector<float>{1, 1, 1}));

    // Only the first lamp is within 10 of the point looked at: its spot light
    // in slot 0, its point light in slot 1, every other slot dark.
    EXPECT_EQ(test::uniformFloats(lit, "light0.position", 3), (std::vector<float>{2.61f, 2.85f, -2.94f}));
    EXPECT_EQ(test::uniformInt(lit, "light0.isSpotlight"), 1);
    EXPECT_EQ(test::uniformFloats(lit, "light1.intensity", 3), (std::vector<float>{0.25f, 0.25f, 0.25f}));
    EXPECT_EQ(test::uniformInt(lit, "light1.isSpotlight"), 0);
    for (int i = 2; i < kMaxLights; ++i) {
        std::string name = scene::lightUniformName(i, ".intensity");
        EXPECT_EQ(test::uniformFloats(lit, name.c_str(), 3), std::vector<float>(3, 0.0f)) << name;
    }

    // The unlit object's program holds nothing but its matrix and texture unit.
    EXPECT_EQ(test::uniformFloats(unlit, "model", 16), std::vector<float>(16, 0.0f));
    EXPECT_EQ(test::uniformFloats(unlit, "shininess", 1), std::vector<float>(1, 0.0f));
    EXPECT_EQ(test::uniformFloats(unlit, "light0.position", 3), std::vector<float>(3, 0.0f));
    EXPECT_EQ(board.drawCalls, 1);
}

// A lamp left behind must stop lighting the object even though its slot is
// not refilled: the slot is turned off.
TEST_F(DrawPass, ASlotEmptiedThisFrameNoLongerLightsTheObject)
{
    renderer.release();
    const glm::vec3 farLamp = kLampZero + glm::vec3(9.0f, 0.0f, 0.0f);
    renderer.addLamp(farLamp.x, farLamp.y, farLamp.z, 0, 1);            // slots 0 and 1
    renderer.addLamp(kLampZero.x, kLampZero.y, kLampZero.z, 2, 3);      // above the sphere
    const glm::vec3 betweenBoth = (farLamp + kLampZero) * 0.5f;
    const glm::vec3 nearFarLampOnly = farLamp + glm::vec3(5.0f, 0.0f, 0.0f);

    test::OffscreenTarget target(160, 90);
    auto render = [&](FakeDrawable& object, const glm::vec3& selectionPoint) {
        renderer.camera.lookAt = selectionPoint;   // lights follow this point, the view does not
        target.bindAndClear();
        renderer.drawEntry(entryFor(object, orange));
        return meanBrightness(target.read());
    };

    FakeDrawable cat = sphere(kSphereCentre);
    double underBoth = render(cat, betweenBoth);
    ASSERT_EQ(renderer.selectLights(betweenBoth.x, betweenBoth.y, betweenBoth.z).size(), 4u);
    double afterLeaving = render(cat, nearFarLampOnly);

    FakeDrawable fresh = sphere(kSphereCentre);
    double neverLit = render(fresh, nearFarLampOnly);

    EXPECT_GT(underBoth, neverLit * 1.3);
    EXPECT_NEAR(afterLeaving, neverLit, neverLit * 0.005);
}

// The picture this saves is worth a look after shading changes.
TEST_F(DrawPass, ToonShadingUnderALamp)
{
    FakeDrawable ball = sphere(kSphereCentre);
    Shader* floorShader = newShader("toon.frag");
    meshes.push_back(test::makeRectangle(floorShader->program, kLampZero + glm::vec3(-4, -2.85f, 4),
                                         glm::vec3(8, 0, 0), glm::vec3(0, 0, -8)));
    FakeDrawable ground("Level section", floorShader, &meshes.back());

    test::OffscreenTarget target(480, 270);
    target.bindAndClear(glm::vec3(0.1f, 0.1f, 0.15f));
    renderer.drawEntry(entryFor(ground, floorTexture, 0.0f));
    renderer.drawEntry(entryFor(ball, orange, 45.0f));
    EXPECT_TRUE(target.save(test::pictureDir() + "/toon_sphere.png"));

    // Down the middle of the ball (orange, unlike the grey floor and the blue
    // night): light falls into a few flat bands, brightest towards the lamp.
    std::vector<Rgb> column;
    for (int y = target.height - 1; y >= 0; --y) {
        Rgb p = target.at(target.width / 2, y);
        if (p.r - p.b > 30) column.push_back(p);
    }
    ASSERT_GT(column.size(), 50u);
    std::set<int> levels;
    for (size_t i = 4; i + 4 < column.size(); ++i)   // inside the dark rim
        if (column[i].b < 150) levels.insert(column[i].r);   // not the highlight
    EXPECT_LE(levels.size(), 6u);
    EXPECT_GE(levels.size(), 2u);
    EXPECT_GT(column[column.size() / 4].brightness(), column[column.size() * 3 / 4].brightness() + 60);
    // The highlight is white, whatever the ball's colour.
    std::vector<unsigned char> rgb = target.read();
    int white = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) white += rgb[i] > 225 && rgb[i + 1] > 225 && rgb[i + 2] > 225;
    EXPECT_GT(white, 4);

    // A sphere far from every lamp: ambient light only.
    FakeDrawable lonely = sphere(glm::vec3(500, 0, 500));
    lookFrom(glm::vec3(500, 1.2f, 503.4f), glm::vec3(500, 0, 500));
    test::OffscreenTarget dark(480, 270);
    dark.bindAndClear(glm::vec3(0.1f, 0.1f, 0.15f));
    renderer.drawEntry(entryFor(lonely, orange, 45.0f));
    EXPECT_TRUE(dark.save(test::pictureDir() + "/toon_sphere_unlit.png"));
    Rgb centre = dark.at(dark.width / 2, dark.height / 2);
    Rgb night = dark.at(5, 5);
    EXPECT_GT(centre.brightness(), night.brightness() + 60);
    EXPECT_LT(centre.brightness(), column[column.size() / 4].brightness());
}

} // namespace
} // namespace ruma
