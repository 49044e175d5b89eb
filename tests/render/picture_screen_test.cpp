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
#include <tuple>

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
        TOVIK3D_REQUIRE_GL();
        auto solid = [](Rgb colour) { return [colour](int, int) { return colour; }; };
        test::writeImage("Resources/Images/win.jpg", 64, 36, solid(kWin));
        test::writeImage("Resources/Images/gameovercat.jpg", 64, 36, solid(kCaught));
        test::writeImage("Resources/Images/gameoverloch.jpg", 64, 36, solid(kHole));
        test::writeImage("Resources/Images/controls.jpg", 64, 36,
                         [](int, int y) { return y >= 18 ? kControlsTop : kControlsBottom; });
        fs::create_directory_symlink(test::sourceDir() + "/Resources/Shader", "Resources/Shader");
        setPlatform(&scripted);
        savedWidth = windowWidth;
        savedHeight = windowHeight;
    }

    void TearDown() override
    {
        setPlatform(nullptr);
        if (IsSkipped()) return;
        windowWidth = savedWidth;
        windowHeight = savedHeight;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    test::InScratchDirectory here{"render-screens"};
    ScriptedPlatform scripted{{}};
    int savedWidth = 0, savedHeight = 0;
};

TEST_F(PictureScreens, EndPictureIsWinBeforeCaughtBeforeHole)
{
    EndScreen screen(true);
    windowWidth = 320;
    windowHeight = 180;
    test::OffscreenTarget target(320, 180);
    for (auto [won, caught, expected] : {std::tuple{true, true, kWin}, std::tuple{true, false, kWin},
                                         std::tuple{false, true, kCaught}, std::tuple{false, false, kHole}}) {
        screen.won = won;
        screen.caughtByCat = caught;
        target.bindAndClear();
        screen.draw();
        EXPECT_TRUE(test::colourNear(target.at(160, 90), expected, 8)) << "won " << won << ", caught " << caught;
    }
    test::expectCleanGlState();

    // An odd window width is halved downwards.
    windowWidth = 641;
    windowHeight = 361;
    screen.draw();
    EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "w"), 320);
    EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "h"), 180);
    const GLuint picture = screen.currentPicture()->handle, buffer = screen.quad.positionBuffer;
    screen.release();
    EXPECT_FALSE(glIsTexture(picture));
    EXPECT_FALSE(glIsBuffer(buffer));
}

TEST_F(PictureScreens, ControlsPictureFollowsTheRealWindowSize)
{
    ControlsScreen screen;
    // The kept window size lags behind; the screen asks the window itself.
    windowWidth = 1280;
    windowHeight = 720;

    for (auto [width, height] : {std::pair{640, 360}, std::pair{641, 361}}) {
        scripted.setWindowSize(width, height);
        test::OffscreenTarget target(width, height);
        target.bindAndClear();
        screen.draw();
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "w"), width / 2) << size;
        EXPECT_EQ(test::uniformInt(screen.quad.shader->program, "h"), height / 2) << size;

        // Upright and covering the whole window, corner to corner.
        EXPECT_TRUE(test::colourNear(target.at(0, height - 1), kControlsTop, 8)) << size + " top left";
        EXPECT_TRUE(test::colourNear(target.at(width - 1, height - 1), kControlsTop, 8)) << size + " top right";
        EXPECT_TRUE(test::colourNear(target.at(0, 0), kControlsBottom, 8)) << size + " bottom left";
        EXPECT_TRUE(test::colourNear(target.at(width - 1, 0), kControlsBottom, 8)) << size + " bottom right";
        test::expectCleanGlState();
    }
    screen.release();
}

} // namespace
} // namespace ruma
