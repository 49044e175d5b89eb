// The full-window pictures: which end picture shows, and the controls
// picture following the window's real size.
#include "render/picture_screen.h"

#include "platform/scripted_platform.h"
#include "platform/window.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render_fixtures.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ruma {
namespace {

namespace fs = std::filesystem;
using test::Rgb;

const Rgb kWin{40, 200, 40};
const Rgb kCaught{40, 40, 200};
const Rgb kHole{220, 200, 40};
const Rgb kControlsTop{210, 30, 30};
const Rgb kControlsBottom{240, 240, 240};

// The pictures live in a scratch game folder whose shaders are the real ones.
class PictureScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::ensureGlContext()) GTEST_SKIP() << "no display";
        auto solid = [](Rgb colour) { return [colour](int, int) { return colour; }; };
        test::writeImage(scratch.file("Resources/Images/win.jpg"), 64, 36, solid(kWin));
        test::writeImage(scratch.file("Resources/Images/gameovercat.jpg"), 64, 36, solid(kCaught));
        test::writeImage(scratch.file("Resources/Images/gameoverloch.jpg"), 64, 36, solid(kHole));
        test::writeImage(scratch.file("Resources/Images/controls.jpg"), 64, 36,
                         [](int, int y) { return y >= 18 ? kControlsTop : kControlsBottom; });
        fs::create_directory_symlink(test::sourceDir() + "/Resources/Shader", scratch.file("Resources/Shader"));
        previousDirectory = fs::current_path();
        fs::current_path(scratch.path());

        previousPlatform = hasPlatform() ? &platform() : nullptr;
        setPlatform(&scripted);
        savedWidth = windowWidth;
        savedHeight = windowHeight;
    }

    void TearDown() override
    {
        if (previousDirectory.empty()) return;
        fs::current_path(previousDirectory);
        setPlatform(previousPlatform);
        windowWidth = savedWidth;
        windowHeight = savedHeight;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    static void expectColour(const Rgb& actual, const Rgb& expected, const std::string& where)
    {
        EXPECT_NEAR(actual.r, expected.r, 8) << where;
        EXPECT_NEAR(actual.g, expected.g, 8) << where;
        EXPECT_NEAR(actual.b, expected.b, 8) << where;
    }

    // The state every screen leaves behind.
    static void expectCleanState()
    {
        GLint program = -1, vertexArray = -1, buffer = -1;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &buffer);
        EXPECT_EQ(program, 0);
        EXPECT_EQ(vertexArray, 0);
        EXPECT_EQ(buffer, 0);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }

    test::ScratchDir scratch{"render-screens"};
    fs::path previousDirectory;
    Platform* previousPlatform = nullptr;
    ScriptedPlatform scripted{{}};
    int savedWidth = 0, savedHeight = 0;
};

TEST_F(PictureScreens, EndPictureIsWinBeforeCaughtBeforeHole)
{
    EndScreen screen(true);

    windowWidth = 320;
    windowHeight = 180;
    test::OffscreenTarget target(320, 180);
    auto shown = [&](bool won, bool caught) {
        screen.won = won;
        screen.caughtByCat = caught;
        target.bindAndClear();
        screen.draw();
        return target.at(160, 90);
    };
    expectColour(shown(true, true), kWin, "won and caught");
    expectColour(shown(true, false), kWin, "won");
    expectColour(shown(false, true), kCaught, "caught");
    expectColour(shown(false, false), kHole, "fell");
    expectCleanState();

    // An odd window width is halved downwards.
    windowWidth = 641;
    windowHeight = 361;
    screen.draw();
    EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "w"), 320);
    EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "h"), 180);

    GLuint picture = screen.currentPicture()->handle;
    GLuint buffer = screen.quad.positionBuffer;
    screen.release();
    EXPECT_FALSE(glIsTexture(picture));
    EXPECT_FALSE(glIsBuffer(buffer));
}

TEST_F(PictureScreens, ControlsPictureFollowsTheRealWindowSize)
{
    ControlsScreen screen;
    EXPECT_TRUE(screen.showing);
    // The kept window size lags behind; the screen asks the window itself.
    windowWidth = 1280;
    windowHeight = 720;

    for (auto [width, height] : {std::pair{640, 360}, std::pair{641, 361}}) {
        scripted.setWindowSize(width, height);
        test::OffscreenTarget target(width, height);
        target.bindAndClear();
        screen.draw();
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        EXPECT_EQ(screen.width, width);
        EXPECT_EQ(screen.height, height);
        EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "w"), width / 2) << size;
        EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "h"), height / 2) << size;

        // Upright and covering the whole window, corner to corner.
        expectColour(target.at(0, height - 1), kControlsTop, size + " top left");
        expectColour(target.at(width - 1, height - 1), kControlsTop, size + " top right");
        expectColour(target.at(0, 0), kControlsBottom, size + " bottom left");
        expectColour(target.at(width - 1, 0), kControlsBottom, size + " bottom right");
        expectCleanState();
    }

    float positions[12] = {};
    glBindBuffer(GL_ARRAY_BUFFER, screen.quad.positionBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof positions, positions);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const std::vector<float> expected = {0, 361, 0, 0, 641, 361, 641, 0, 641, 361, 0, 0};
    EXPECT_EQ(std::vector<float>(positions, positions + 12), expected);
    screen.release();
}

} // namespace
} // namespace ruma
