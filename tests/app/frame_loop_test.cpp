// The 16:9 keeper and the frame-rate counters, driven through the scripted
// platform without a window.
#include "app/frame_loop.h"
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
        frameCounter = 0;
        fpsText = "FPS: ";
        frameTimeText = "Frametime: ";
        resetRenderSettings();
        setPlatform(&scripted);
    }
    void TearDown() override { setPlatform(nullptr); }

    ScriptedPlatform scripted{{}};
};

TEST_F(FrameLoopTest, KeepAspectHoldsSixteenToNineAndTheWidthWins)
{
    struct Case {
        int w, h, expectedW, expectedH;
    };
    // A new width (1000 * 9 / 16 = 562.5, truncated), a new height, both new, neither;
    // a sliver of a window is kept at 16x9, never asked for a side of 0.
    for (Case c : {Case{1000, 720, 1000, 562}, Case{1280, 900, 1600, 900}, Case{1920, 300, 1920, 1080},
                   Case{1280, 720, 1280, 720}, Case{1, 1, 16, 9}, Case{1280, 0, 16, 9}, Case{20, 720, 20, 11}}) {
        windowWidth = 1280;
        windowHeight = 720;
        scripted.setWindowSize(c.w, c.h);
        keepAspect();
        int w, h;
        scripted.getWindowSize(w, h);
        EXPECT_EQ(windowWidth, c.expectedW) << c.w << "x" << c.h;
        EXPECT_EQ(windowHeight, c.expectedH) << c.w << "x" << c.h;
        EXPECT_EQ(w, c.expectedW);
        EXPECT_EQ(h, c.expectedH);
    }
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
    EXPECT_FALSE(showSamplingLine);
    EXPECT_FALSE(showMipmapLine);

    // The next refresh is again 151 frames later; four significant digits.
    for (int frame = 1; frame <= 150; ++frame) updateCounters(0.5);
    EXPECT_EQ(fpsText, "FPS: 80");
    updateCounters(1.0 / 60.0);
    EXPECT_EQ(frameTimeText, "Frametime: 16.67ms");
    EXPECT_EQ(fpsText, "FPS: 60");
}

} // namespace
} // namespace ruma
