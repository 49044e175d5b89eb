// The 16:9 keeper, the frame-rate counters and the function-key latches,
// driven through the scripted platform without a window.
#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "platform/scripted_platform.h"
#include "platform/window.h"
#include "render/render_settings.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        windowWidth = 1280;
        windowHeight = 720;
        frameCounter = 0;
        fpsText = "FPS: ";
        frameTimeText = "Frametime: ";
        resetRenderSettings();
        clearKeyLatches();
        setPlatform(&scripted);
    }
    void TearDown() override { setPlatform(nullptr); }

    ScriptedPlatform scripted{{}};
};

TEST_F(FrameLoopTest, KeepAspectGivesTheHeightForANewWidth)
{
    scripted.setWindowSize(1000, 720);
    keepAspect();
    EXPECT_EQ(windowWidth, 1000);
    EXPECT_EQ(windowHeight, 562);   // 1000 * 9 / 16 = 562.5, truncated
    int w, h;
    scripted.getWindowSize(w, h);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 562);
}

TEST_F(FrameLoopTest, KeepAspectGivesTheWidthForANewHeight)
{
    scripted.setWindowSize(1280, 900);
    keepAspect();
    EXPECT_EQ(windowWidth, 1600);
    EXPECT_EQ(windowHeight, 900);
}

TEST_F(FrameLoopTest, KeepAspectLetsTheWidthWinWhenBothChanged)
{
    scripted.setWindowSize(1920, 300);
    keepAspect();
    EXPECT_EQ(windowWidth, 1920);
    EXPECT_EQ(windowHeight, 1080);
}

TEST_F(FrameLoopTest, KeepAspectLeavesAnUnchangedWindowAlone)
{
    scripted.setWindowSize(1280, 720);
    keepAspect();
    EXPECT_EQ(windowWidth, 1280);
    EXPECT_EQ(windowHeight, 720);
}

TEST_F(FrameLoopTest, CountersRefreshFirstAtThe151stFrame)
{
    showSamplingLine = showMipmapLine = true;
    for (int frame = 1; frame <= 150; ++frame) updateCounters(1.0 / 60.0);
    EXPECT_EQ(fpsText, "FPS: ");
    EXPECT_EQ(frameTimeText, "Frametime: ");
    EXPECT_TRUE(showSamplingLine);

    updateCounters(0.0125);   // the refresh shows this single frame, not an average
    EXPECT_EQ(frameTimeText, "Frametime: 12.5ms");
    EXPECT_EQ(fpsText, "FPS: 80");
    EXPECT_EQ(frameCounter, 0u);
    EXPECT_FALSE(showSamplingLine);
    EXPECT_FALSE(showMipmapLine);

    // The next refresh is again 151 frames later.
    for (int frame = 1; frame <= 150; ++frame) updateCounters(0.5);
    EXPECT_EQ(fpsText, "FPS: 80");
    updateCounters(1.0 / 60.0);
    EXPECT_EQ(frameTimeText, "Frametime: 16.67ms");
    EXPECT_EQ(fpsText, "FPS: 60");
}

TEST(CounterFormat, FourSignificantDigitsInTheDefaultFormat)
{
    EXPECT_EQ(formatSignificant(16.666666), "16.67");
    EXPECT_EQ(formatSignificant(60.0), "60");
    EXPECT_EQ(formatSignificant(1234.5), "1234");
    EXPECT_EQ(formatSignificant(0.12345), "0.1235");
    EXPECT_EQ(formatSignificant(123456.0), "1.235e+05");
}

TEST_F(FrameLoopTest, AHeldFunctionKeyActsOnceAndAgainAfterRelease)
{
    std::vector<FrameInput> frames;
    FrameInput held;
    held.keys = {GLFW_KEY_F2};
    for (int i = 0; i < 30; ++i) frames.push_back(held);
    frames.push_back(FrameInput{});
    frames.push_back(held);
    scripted.appendFrames(frames);

    bool toggled = false;
    int actions = 0;
    auto frame = [&] {
        scripted.pollEvents();
        if (latchPress(GLFW_KEY_F2)) {
            toggled = !toggled;
            ++actions;
        }
        releaseKeyLatches();
    };
    for (int i = 0; i < 30; ++i) frame();
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(toggled);
    frame();   // released
    frame();   // pressed again
    EXPECT_EQ(actions, 2);
    EXPECT_FALSE(toggled);
}

TEST_F(FrameLoopTest, LatchesAreClearedOnlyForReleasedKeys)
{
    FrameInput both;
    both.keys = {GLFW_KEY_F3, GLFW_KEY_F4};
    FrameInput onlyF4;
    onlyF4.keys = {GLFW_KEY_F4};
    scripted.appendFrames({both, onlyF4});
    scripted.pollEvents();
    EXPECT_TRUE(latchPress(GLFW_KEY_F3));
    EXPECT_TRUE(latchPress(GLFW_KEY_F4));
    releaseKeyLatches();
    scripted.pollEvents();
    releaseKeyLatches();
    EXPECT_FALSE(keyLatch(GLFW_KEY_F3));
    EXPECT_TRUE(keyLatch(GLFW_KEY_F4));
}

} // namespace
} // namespace ruma
