// Input scripts and the scripted platform that plays them.
#include "platform/input_script.h"
#include "platform/recording_platform.h"
#include "platform/scripted_platform.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ruma {
namespace {

std::vector<FrameInput> parse(const std::string& text)
{
    std::istringstream in(text);
    std::vector<FrameInput> frames;
    std::string error;
    EXPECT_TRUE(parseInputScript(in, frames, error)) << error;
    return frames;
}

TEST(InputScript, CommandsBecomeFrames)
{
    auto frames = parse("dt 0.02\n"
                        "wait 2\n"
                        "hold 3 W a look 4 -1   # forward and left, turning\n"
                        "tap f1\n"
                        "focus off\n"
                        "shot out.png\n"
                        "resize 1 0\n"
                        "look 10 0 2\n"
                        "memory\n");
    ASSERT_EQ(frames.size(), 2u + 3u + 2u + 2u);
    EXPECT_EQ(frames[7].resizeWidth, 1);   // the window is resized before the next frame only
    EXPECT_EQ(frames[7].resizeHeight, 0);
    EXPECT_EQ(frames[8].resizeWidth, -1);
    EXPECT_TRUE(frames[8].reportMemory);
    EXPECT_FALSE(frames[7].reportMemory);
    EXPECT_DOUBLE_EQ(frames[0].dt, 0.02);
    EXPECT_TRUE(frames[0].keys.empty());
    EXPECT_EQ(frames[2].keys, (std::vector<int>{GLFW_KEY_W, GLFW_KEY_A}));
    EXPECT_DOUBLE_EQ(frames[4].cursorDx, 4.0);
    EXPECT_DOUBLE_EQ(frames[4].cursorDy, -1.0);
    EXPECT_EQ(frames[5].keys, std::vector<int>{GLFW_KEY_F1});
    EXPECT_TRUE(frames[6].keys.empty());
    EXPECT_TRUE(frames[6].focused);
    EXPECT_FALSE(frames[7].focused);
    EXPECT_EQ(frames[6].screenshot, "out.png");   // the frame scripted last before the shot
    EXPECT_TRUE(frames[7].screenshot.empty());
}

TEST(InputScript, ErrorsNameTheLineAndQuoteItShortAndPrintable)
{
    // Typing errors, and numbers no real frame or mouse produces: huge, negative,
    // not numbers at all, or a clock that stands still or leaps.
    std::string junk = "\x01\xff" + std::string(1 << 20, 'x');
    for (const std::string& bad : std::vector<std::string>{"hold 2 NOSUCHKEY", "wait", "jump 3", "focus maybe", "wait 2 W", "wait 99999999999",
                            "look 1 0 99999999999", "wait -3", "hold 1.5 W", "look 1 0 -2", "look 1 0 nan", "dt 0",
                            "dt -0.1", "dt 1e30", "dt nan", "dt inf", "look 1e308 0", "look 0 -inf", "look 1 nan",
                            "hold 1 W look nan 0", "pad 0 -1", "pad 0 0 0 0 Z", "pad nan 0 0 0", "pad 0 2 0 0", "resize -1 5", "resize 1e9 5", junk}) {
        std::istringstream in("wait 1\n" + bad + "\n");
        std::vector<FrameInput> frames;
        std::string error;
        EXPECT_FALSE(parseInputScript(in, frames, error)) << bad.substr(0, 40);
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
        EXPECT_LT(error.size(), 90u) << error.substr(0, 100);
        for (char c : error) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << error.substr(0, 100);
    }
    // The frames of a whole script are bounded too, not only those of a line.
    std::istringstream longScript("wait 600000\nwait 600000\n");
    std::vector<FrameInput> frames;
    std::string error;
    EXPECT_FALSE(parseInputScript(longScript, frames, error));
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
}

// What the game is shown each frame: the clock, the cursor after its motion,
// the keys and the focus.
std::vector<std::vector<double>> playFrames(Platform& p)
{
    std::vector<std::vector<double>> seen;
    while (!p.shouldClose()) {
        p.pollEvents();
        double x, y;
        p.getCursorPos(x, y);
        PadState pad = p.padState();
        seen.push_back({p.time(), x, y, double(p.isKeyPressed(GLFW_KEY_W)), double(p.isKeyPressed(GLFW_KEY_F9)),
                        double(p.hasFocus()), pad.leftX, pad.leftY, pad.rightX, pad.rightY, double(pad.buttons)});
        p.setCursorPos(640, 360);   // the game puts the cursor back every frame of play
    }
    return seen;
}

// A live run (here a script with awkward frame times standing in for the real
// clock and mouse) is journaled; its replay shows the game the same numbers to
// the last bit, and a journal cut off mid-line plays its whole lines and ends.
TEST(RecordingPlatform, TheReplayOfAJournalShowsTheGameExactlyWhatTheLiveRunShowed)
{
    test::ScratchDir dir("journal");
    ScriptedPlatform live(parse("dt 0.0173\nhold 2 W look 3 -2\ndt 0.1\nfocus off\nhold 1 F9 look 0.1 0\n"
                                "dt 0.0123456789\nfocus on\npad 0.123456789 -1 0 0.3 A RT\nwait 2\npad START\n"
                                "wait 1\npad\nlook 7 1\n"));
    live.setTime(12.3456789);
    live.setCursorPos(100.25, 7.0);
    std::vector<std::vector<double>> shown;
    {
        std::ofstream out(dir.file("run.txt"));
        RecordingPlatform recorder(live, std::move(out), dir.file("run.txt"), {GLFW_KEY_W, GLFW_KEY_F9});
        shown = playFrames(recorder);
    }
    ASSERT_EQ(shown.size(), 7u);
    std::vector<FrameInput> frames;
    std::string error;
    ASSERT_TRUE(loadInputScript(dir.file("run.txt"), frames, error)) << error;
    ScriptedPlatform replay(frames);
    EXPECT_EQ(playFrames(replay), shown);

    std::string journal = test::readFile(dir.file("run.txt"));
    size_t lastLine = journal.rfind('\n', journal.size() - 2);
    dir.write("cut.txt", journal.substr(0, lastLine + 4));
    frames.clear();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(loadInputScript(dir.file("cut.txt"), frames, error)) << error;
    EXPECT_NE(testing::internal::GetCapturedStderr().find(" is cut off; the journal plays up to line "),
              std::string::npos);
    ScriptedPlatform cut(frames);
    std::vector<std::vector<double>> played = playFrames(cut);
    EXPECT_EQ(played, std::vector<std::vector<double>>(shown.begin(), shown.end() - 1));
}

} // namespace
} // namespace ruma
