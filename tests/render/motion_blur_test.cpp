// The motion-blur post-process over walls of sharp black and white stripes: a
// still camera gives the scene back and a turning camera smears it.
#include "render/motion_blur.h"

#include "platform/math_conventions.h"
#include "platform/window.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "render_fixtures.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ruma {
namespace {

using Picture = std::vector<unsigned char>;

// The camera at the origin turned yawDegrees to the right.
glm::mat4 viewProjection(float yawDegrees)
{
    const glm::vec3 forward(std::sin(glm::radians(yawDegrees)), 0.0f, -std::cos(glm::radians(yawDegrees)));
    return perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f) * glm::lookAt(glm::vec3(0.0f), forward, glm::vec3(0, 1, 0));
}

int largestDifference(const Picture& a, const Picture& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

// Pixels of the middle row of a 320 x 180 picture that are neither black nor
// white: the smeared edges.
int greyPixels(const Picture& rgb)
{
    int grey = 0;
    for (int x = 0; x < 320; ++x) grey += rgb[(90 * 320 + x) * 3] > 20 && rgb[(90 * 320 + x) * 3] < 235;
    return grey;
}

class MotionBlurPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        savedWidth = windowWidth;
        savedHeight = windowHeight;
        windowWidth = 320;
        windowHeight = 180;
        // Stripes a few dozen pixels wide on screen.
        test::writeImage(scratch.file("stripes.png"), 1024, 4,
                         [](int x, int) { return (x / 128) % 2 ? test::Rgba{0, 0, 0} : test::Rgba{255, 255, 255}; });
        stripes = new Texture(scratch.file("stripes.png"));
        shader = test::makeShader("basic.vert", "basicnolight.frag");
        walls.push_back(test::makeRectangle(shader->program, {-10, -6, -5}, {20, 0, 0}, {0, 12, 0}));
        blur = new MotionBlur();
        window = std::make_unique<test::OffscreenTarget>(320, 180);
    }

    void TearDown() override
    {
        if (IsSkipped()) return;
        window.reset();
        blur->release();
        delete blur;
        for (test::TestMesh& wall : walls) wall.release();
        deleteShader(shader);
        deleteTexture(stripes);
        renderer.release();
        windowWidth = savedWidth;
        windowHeight = savedHeight;
        glActiveTexture(GL_TEXTURE0);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    // The walls, seen straight on from the origin, into the blur's framebuffer.
    Picture drawScene()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, blur->framebuffer);
        glViewport(0, 0, window->width, window->height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.camera.projection = perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f);
        renderer.camera.view = glm::lookAt(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
        for (test::TestMesh& wall : walls) {
            test::FakeDrawable object("Wall", shader, &wall);
            object.unlit = true;
            renderer.drawEntry(RenderEntry{&object, stripes});
        }
        return test::readFramebuffer(blur->framebuffer, window->width, window->height);
    }

    // The composite of a camera that looked previousYaw degrees aside one frame ago.
    Picture composite(float previousYaw, float scale, bool fast)
    {
        window->bindAndClear();
        blur->pass(fast, scale, glm::inverse(viewProjection(0.0f)), viewProjection(previousYaw));
        return window->read();
    }

    test::ScratchDir scratch{"render-blur"};
    int savedWidth = 0, savedHeight = 0;
    Renderer renderer;
    Texture* stripes = nullptr;
    Shader* shader = nullptr;
    std::vector<test::TestMesh> walls;
    MotionBlur* blur = nullptr;
    std::unique_ptr<test::OffscreenTarget> window;
};

TEST_F(MotionBlurPass, AStillCameraGivesTheSceneBackAndATurningOneSmearsIt)
{
    const Picture scene = drawScene();
    ASSERT_LE(greyPixels(scene), 6);   // sharp stripes to begin with
    EXPECT_LE(largestDifference(composite(0.0f, 0.1f, false), scene), 2);
    EXPECT_LE(largestDifference(composite(0.0f, 5000.0f, true), scene), 2);

    // Four degrees of turn in a frame; a boost smears further.
    const Picture normal = composite(4.0f, 0.1f, false);
    EXPECT_GT(largestDifference(normal, scene), 100);
    EXPECT_GT(greyPixels(normal), 12);
    EXPECT_GT(greyPixels(composite(4.0f, 0.2f, true)), greyPixels(normal) + 6);
}

} // namespace
} // namespace ruma
