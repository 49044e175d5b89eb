// The course's lamps, their numbered uniform names, the choice of the nearest
// lights and what reaches the lit program.
#include "render/renderer.h"

#include "render_fixtures.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ruma {
namespace {

using scene::Light;
using scene::Spotlight;

TEST(Renderer, SelectsLightsWithinTenInclusive)
{
    Renderer renderer;
    renderer.release();
    renderer.addLamp(10.0f, 0.0f, 0.0f, 0, 1);     // exactly 10 away
    renderer.addLamp(6.0f, 8.0f, 0.01f, 2, 3);     // just beyond 10
    renderer.addLamp(0.0f, -6.0f, 8.0f, 4, 5);     // exactly 10 again
    EXPECT_FLOAT_EQ(renderer.lights[0]->distanceTo(0, 0, 0), 10.0f);

    std::vector<scene::Light*> chosen = renderer.selectLights(0.0f, 0.0f, 0.0f);
    ASSERT_EQ(chosen.size(), 4u);
    EXPECT_EQ(chosen[0], renderer.lights[0]);
    EXPECT_EQ(chosen[1], renderer.lights[1]);
    EXPECT_EQ(chosen[2], renderer.lights[4]);
    EXPECT_EQ(chosen[3], renderer.lights[5]);
    // Renumbered in the order chosen; the light left out keeps its old number.
    EXPECT_EQ(renderer.lights[4]->positionName, "light2.position");
    EXPECT_EQ(renderer.lights[5]->isSpotlightName, "light3.isSpotlight");
    EXPECT_EQ(renderer.lights[2]->positionName, "light2.position");
    EXPECT_EQ(renderer.lights[3]->positionName, "light3.position");
    renderer.release();
}

TEST(Renderer, TakesOnlyTheFirstFourteenLightsInRange)
{
    Renderer renderer;
    renderer.release();
    for (int k = 0; k < 10; ++k) renderer.addLamp(static_cast<float>(k) * 0.5f, 3.0f, 0.0f, 100 + 2 * k, 101 + 2 * k);

    std::vector<scene::Light*> chosen = renderer.selectLights(1.0f, 0.0f, 0.0f);
    ASSERT_EQ(chosen.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(chosen[i], renderer.lights[i]);
        EXPECT_EQ(chosen[i]->intensityName, "light" + std::to_string(i) + ".intensity");
    }
    // The six beyond the limit keep the names they were made with.
    EXPECT_EQ(renderer.lights[14]->intensityName, "light114.intensity");
    EXPECT_EQ(renderer.lights[19]->intensityName, "light119.intensity");

    // A later selection from elsewhere renumbers from 0 again.
    chosen = renderer.selectLights(4.5f, 3.0f, 9.9f);
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(chosen.front()->positionName, "light0.position");
    renderer.release();
}

// Every name the renderer sends must exist in the lit program: a misspelt
// field would silently be dropped by GL.
TEST(LightUniforms, ReachEveryFieldOfEverySlotOfTheToonProgram)
{
    TOVIK3D_REQUIRE_GL();
    Shader* shader = test::makeShader("basic.vert", "toon.frag");
    GLuint program = shader->program;
    const char* fields[] = {".position", ".intensity", ".cAttenuation", ".lAttenuation", ".qAttenuation",
                            ".isSpotlight", ".cosOuterCone", ".cosInnerCone", ".coneDirection"};
    for (int i = 0; i < kMaxLights; ++i)
        for (const char* field : fields)
            EXPECT_GE(glGetUniformLocation(program, scene::lightUniformName(i, field).c_str()), 0)
                << i << field;
    for (const char* name : {"MVP", "model", "cameraPosition", "shininess", "specularColor", "colorTexture"})
        EXPECT_GE(glGetUniformLocation(program, name), 0) << name;

    glUseProgram(program);
    Spotlight spot(5, glm::vec3(1, 2, 3), glm::vec3(0.5f, 0.6f, 0.7f), 1.0f, 0.1f, 0.05f, 0.86f, 0.9f,
                   glm::vec3(0, -1, 0));
    spot.uploadUniforms(program);
    EXPECT_EQ(test::uniformFloats(program, "light5.position", 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(test::uniformFloats(program, "light5.intensity", 3), (std::vector<float>{0.5f, 0.6f, 0.7f}));
    EXPECT_EQ(test::uniformFloats(program, "light5.qAttenuation", 1), (std::vector<float>{0.05f}));
    EXPECT_EQ(test::uniformFloats(program, "light5.cosInnerCone", 1), (std::vector<float>{0.9f}));
    EXPECT_EQ(test::uniformFloats(program, "light5.coneDirection", 3), (std::vector<float>{0, -1, 0}));
    EXPECT_EQ(test::uniformInt(program, "light5.isSpotlight"), 1);

    // A point light taking the slot clears the flag and leaves the cone behind.
    Light point(5, glm::vec3(4, 5, 6), glm::vec3(0.25f), 1.0f, 0.4f, 0.2f);
    point.uploadUniforms(program);
    EXPECT_EQ(test::uniformInt(program, "light5.isSpotlight"), 0);
    EXPECT_EQ(test::uniformFloats(program, "light5.position", 3), (std::vector<float>{4, 5, 6}));
    EXPECT_EQ(test::uniformFloats(program, "light5.cosInnerCone", 1), (std::vector<float>{0.9f}));
    glUseProgram(0);
    EXPECT_EQ(test::drainGlErrors(), 0);
    deleteShader(shader);
}

} // namespace
} // namespace ruma
