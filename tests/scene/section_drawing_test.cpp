// A drawn section leaves out the meshes whose boxes lie wholly out of view:
// the picture must be exactly the one drawing every mesh gives, edges included.
#include "platform/math_conventions.h"
#include "render/draw_stats.h"
#include "render/frustum.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene/imported_object.h"
#include "scene_test_support.h"
#include "support/gl_context.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ruma::scene {
namespace {

constexpr int kWidth = 320, kHeight = 180;

std::vector<unsigned char> drawSection(ImportedObject& section, GLint mvpLocation, const glm::mat4& mvp,
                                       const glm::vec3& eye, const Frustum* frustum)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, glm::value_ptr(mvp));
    section.drawNearestFirst(eye, frustum);
    std::vector<unsigned char> pixels(kWidth * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST(SectionDrawing, LeavingOutTheMeshesOutOfViewChangesNoPixel)
{
    TOVIK3D_REQUIRE_GL();
    Shader* shader = new Shader("Resources/Shader/basic.vert", "Resources/Shader/basicnolight.frag");
    Texture* texture = new Texture("Resources/Textures/e1b.jpg");
    auto* section = test::quietly(
        [&] { return new ImportedObject(identityMatrix(), shader, "Resources/Models/e1b.obj"); });
    ASSERT_GT(section->meshCount(), 20);

    test::OffscreenTarget target(kWidth, kHeight, true);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glUseProgram(shader->program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture->handle);
    const GLint mvpLocation = glGetUniformLocation(shader->program, "MVP");

    // The game's lens, looking all round from the start, the corridor's
    // corner and along the corridor, level and from a jump's height.
    const glm::mat4 projection = perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f);
    Frustum frustum(60.0f, 0.1f, 100.0f);
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    int picturesWithCourse = 0;
    for (const glm::vec3& eye : {glm::vec3(1.0f, 0.5f, 6.0f), glm::vec3(5.3f, 0.2f, 21.0f),
                                 glm::vec3(25.0f, 1.5f, 23.0f)})
        for (int step = 0; step < 12; ++step) {
            const float heading = glm::radians(30.0f * static_cast<float>(step) + 7.0f);
            const glm::vec3 lookAt = eye + glm::vec3(std::sin(heading), -0.2f, std::cos(heading));
            frustum.updateFromCamera(eye, lookAt, up);
            const glm::mat4 mvp = projection * glm::lookAt(eye, lookAt, up);
            const unsigned long drawsBefore = drawCallCount;
            const std::vector<unsigned char> every = drawSection(*section, mvpLocation, mvp, eye, nullptr);
            const std::vector<unsigned char> inView = drawSection(*section, mvpLocation, mvp, eye, &frustum);
            EXPECT_EQ(drawCallCount - drawsBefore, 2u) << "one call per drawing";
            EXPECT_TRUE(every == inView) << "eye " << eye.x << " " << eye.z << ", heading step " << step;
            bool drawn = false;
            for (size_t i = 0; i < every.size() && !drawn; i += 4) drawn = every[i] + every[i + 1] + every[i + 2] > 0;
            picturesWithCourse += drawn;
        }
    EXPECT_EQ(picturesWithCourse, 36);
    delete section;
    deleteTexture(texture);
    deleteShader(shader);
}

} // namespace
} // namespace ruma::scene
