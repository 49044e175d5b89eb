// The motion-blur post-process: its framebuffer follows the window, a still
// camera gives the scene back, a turning camera smears it, and no frame
// time can smear it further than the clamp.
#include "render/motion_blur.h"

#include "platform/math_conventions.h"
#include "platform/window.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "render_fixtures.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ruma {
namespace {

using test::Rgb;

class MotionBlurPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::ensureGlContext()) GTEST_SKIP() << "no display";
        savedWidth = windowWidth;
        savedHeight = windowHeight;
        windowWidth = 320;
        windowHeight = 180;
        // Sharp black and white stripes, a few dozen pixels wide on screen.
        test::writeImage(scratch.file("stripes.png"), 1024, 4,
                         [](int x, int) { return (x / 128) % 2 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; });
        stripes = new Texture(scratch.file("stripes.png"));
        shader = test::makeShader("basic.vert", "basicnolight.frag");
        walls.push_back(test::makeRectangle(shader->program, glm::vec3(-10, -6, -5), glm::vec3(20, 0, 0),
                                            glm::vec3(0, 12, 0)));
        blur = new MotionBlur();
    }

    void TearDown() override
    {
        if (blur) {
            blur->release();
            delete blur;
        }
        for (test::TestMesh& wall : walls) wall.release();
        deleteShader(shader);
        deleteTexture(stripes);
        renderer.release();
        windowWidth = savedWidth;
        windowHeight = savedHeight;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glActiveTexture(GL_TEXTURE0);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    // The camera at the origin, or sidestepped along x, turned yawDegrees to the right.
    static glm::mat4 viewProjection(float yawDegrees, float sidestep = 0.0f)
    {
        glm::vec3 eye(sidestep, 0.0f, 0.0f);
        glm::vec3 forward(std::sin(glm::radians(yawDegrees)), 0.0f, -std::cos(glm::radians(yawDegrees)));
        return perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f) *
               glm::lookAt(eye, eye + forward, glm::vec3(0, 1, 0));
    }

    // The walls, seen straight on, into the blur's framebuffer; returns the picture.
    std::vector<unsigned char> drawScene(int width, int height)
    {
        glBindFramebuffer(GL_FRAMEBUFFER, blur->framebuffer);
        glViewport(0, 0, width, height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.camera.projection = perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f);
        renderer.camera.view = glm::lookAt(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
        for (test::TestMesh& wall : walls) {
            test::FakeDrawable object("Wall", shader, &wall);
            object.unlit = true;
            renderer.drawEntry(RenderEntry{&object, stripes});
        }
        return test::readFramebuffer(blur->framebuffer, width, height);
    }

    // The composite of a camera that looked previousYaw degrees aside one frame ago.
    std::vector<unsigned char> composite(test::OffscreenTarget& target, float previousYaw, float scale,
                                         bool fast, float previousSidestep = 0.0f)
    {
        target.bindAndClear();
        blur->pass(fast, scale, glm::inverse(viewProjection(0.0f)),
                   viewProjection(previousYaw, previousSidestep));
        return target.read();
    }

    test::ScratchDir scratch{"render-blur"};
    int savedWidth = 0, savedHeight = 0;
    Renderer renderer;
    Texture* stripes = nullptr;
    Shader* shader = nullptr;
    std::vector<test::TestMesh> walls;
    MotionBlur* blur = nullptr;
};

int largestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

// Pixels of the middle row, from x to x + count, that are neither black nor
// white: the smeared edges.
int greyPixels(const std::vector<unsigned char>& rgb, int width, int height, int from = 0, int count = -1)
{
    int grey = 0;
    const unsigned char* row = &rgb[static_cast<size_t>(height / 2) * width * 3];
    for (int x = from; x < (count < 0 ? width : from + count); ++x) grey += row[x * 3] > 20 && row[x * 3] < 235;
    return grey;
}

TEST_F(MotionBlurPass, FramebufferFollowsTheWindowSize)
{
    auto size = [](GLuint texture) {
        GLint w = 0, h = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        return std::pair{w, h};
    };
    // The window grows: both attachments follow and the composite covers it all.
    blur->resize(400, 225);
    EXPECT_EQ(size(blur->colourTexture), std::pair(400, 225));
    EXPECT_EQ(size(blur->depthTexture), std::pair(400, 225));
    glBindFramebuffer(GL_FRAMEBUFFER, blur->framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    std::vector<unsigned char> scene = drawScene(400, 225);
    test::OffscreenTarget window(400, 225);
    EXPECT_LE(largestDifference(composite(window, 0.0f, 0.1f, false), scene), 2);

    // A minimised window has no size; the attachments stay as they are.
    blur->resize(0, 0);
    EXPECT_EQ(size(blur->colourTexture), std::pair(400, 225));
}

TEST_F(MotionBlurPass, AStillCameraGivesTheSceneBackAndATurningOneSmearsIt)
{
    std::vector<unsigned char> scene = drawScene(320, 180);
    test::OffscreenTarget window(320, 180);
    ASSERT_LE(greyPixels(scene, 320, 180), 6);   // sharp stripes to begin with
    EXPECT_LE(largestDifference(composite(window, 0.0f, 0.1f, false), scene), 2);
    EXPECT_LE(largestDifference(composite(window, 0.0f, 5000.0f, true), scene), 2);

    // Four degrees of turn in a frame; a boost smears further.
    std::vector<unsigned char> normal = composite(window, 4.0f, 0.1f, false);
    std::vector<unsigned char> fast = composite(window, 4.0f, 0.2f, true);
    EXPECT_GT(largestDifference(normal, scene), 100);
    const int normalGrey = greyPixels(normal, 320, 180);
    EXPECT_GT(normalGrey, 12);
    EXPECT_GT(greyPixels(fast, 320, 180), normalGrey + 6);
}

// Stepping sideways moves near things further across the screen than far
// ones: the blur must read each pixel's depth.
TEST_F(MotionBlurPass, SidestepSmearsNearThingsMore)
{
    for (test::TestMesh& wall : walls) wall.release();
    walls = {test::makeRectangle(shader->program, glm::vec3(-4, -3, -2), glm::vec3(4, 0, 0), glm::vec3(0, 6, 0)),
             test::makeRectangle(shader->program, glm::vec3(0, -15, -20), glm::vec3(40, 0, 0),
                                 glm::vec3(0, 30, 0))};
    std::vector<unsigned char> scene = drawScene(320, 180);
    test::OffscreenTarget window(320, 180);
    std::vector<unsigned char> stepped = composite(window, 0.0f, 0.1f, false, 0.3f);

    int nearGrey = greyPixels(stepped, 320, 180, 0, 155) - greyPixels(scene, 320, 180, 0, 155);
    int farGrey = greyPixels(stepped, 320, 180, 165, 155) - greyPixels(scene, 320, 180, 165, 155);
    EXPECT_GT(nearGrey, 2 * farGrey + 10);
}

TEST_F(MotionBlurPass, AHugeScaleSmearsNoFurtherThanTheClamp)
{
    std::vector<unsigned char> scene = drawScene(320, 180);
    test::OffscreenTarget window(320, 180);
    // A frame of a tenth of a millisecond, turning fast.
    std::vector<unsigned char> smeared = composite(window, 4.0f, 0.0033333334f / 0.0001f, true);

    // The stripes are about 60 pixels wide: their middles stay untouched,
    // their edges are smeared.
    const int y = 90;
    int untouchedMiddles = 0;
    int runStart = 0;
    for (int x = 1; x <= 320; ++x) {
        bool edge = x == 320 || (scene[(y * 320 + x) * 3] > 127) != (scene[(y * 320 + x - 1) * 3] > 127);
        if (!edge) continue;
        if (x - runStart > 40 && runStart > 0 && x < 320) {
            int middle = (runStart + x) / 2;
            int expected = scene[(y * 320 + middle) * 3];
            EXPECT_NEAR(smeared[(y * 320 + middle) * 3], expected, 2) << "stripe middle at " << middle;
            ++untouchedMiddles;
        }
        runStart = x;
    }
    EXPECT_GE(untouchedMiddles, 2);
    EXPECT_GT(greyPixels(smeared, 320, 180), 12);
}

} // namespace
} // namespace ruma
