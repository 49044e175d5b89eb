// The real platform's keys on a real (hidden) window: X key events are sent to
// it between two polls, as a player's fingers would.
#include "platform/glfw_platform.h"
#include "platform/recording_platform.h"
#include "support/process.h"

#include <fstream>

#include <gtest/gtest.h>
// After GoogleTest: Xlib's macros (None, Bool) would break its templates.
#include <X11/Xlib.h>
#include <X11/keysym.h>

extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

namespace ruma {
namespace {

void sendKey(GLFWwindow* window, KeySym key, bool press)
{
    Display* display = glfwGetX11Display();
    XEvent event{};
    event.xkey.type = press ? KeyPress : KeyRelease;
    event.xkey.display = display;
    event.xkey.window = glfwGetX11Window(window);
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display, key);
    XSendEvent(display, event.xkey.window, True, press ? KeyPressMask : KeyReleaseMask, &event);
    // Back from the server, so the next poll finds the event waiting.
    XSync(display, False);
}

// A tap shorter than a frame counts once, in the next frame, however often the
// frame reads it, and a journal of the run says so; a held key ends with its
// release, as it always has.
TEST(GlfwPlatformKeys, ATapBetweenTwoPollsIsSeenByTheNextFrameOnly)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    ASSERT_TRUE(glfwInit());
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CLIENT_API, GLFW_NO_API);
    GLFWwindow* window = glfwCreateWindow(320, 180, "keys", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    GlfwPlatform real(window);
    test::ScratchDir dir("keys");
    std::ofstream out;
    std::string error;
    ASSERT_TRUE(RecordingPlatform::openJournal(dir.file("journal.txt"), out, error)) << error;
    RecordingPlatform journaled(real, std::move(out), dir.file("journal.txt"), {GLFW_KEY_F1, GLFW_KEY_W});

    std::vector<std::vector<int>> seen;   // the keys of each frame, as the game reads them
    auto poll = [&] {
        journaled.pollEvents();
        std::vector<int> keys;
        for (int key : {GLFW_KEY_F1, GLFW_KEY_W})
            if (journaled.isKeyPressed(key)) keys.push_back(key);
        EXPECT_EQ(real.isKeyPressed(GLFW_KEY_F1), real.isKeyPressed(GLFW_KEY_F1)) << "read twice in a frame";
        seen.push_back(keys);
    };
    poll();
    sendKey(window, XK_F1, true);
    sendKey(window, XK_F1, false);
    poll();   // the tap
    poll();
    sendKey(window, XK_w, true);
    poll();
    poll();
    sendKey(window, XK_w, false);
    poll();   // let go: no frame more
    sendKey(window, XK_F1, true);
    poll();
    sendKey(window, XK_F1, false);
    sendKey(window, XK_w, true);
    sendKey(window, XK_w, false);
    poll();   // F1 ends its hold as W is tapped
    const std::vector<std::vector<int>> expected = {
        {}, {GLFW_KEY_F1}, {}, {GLFW_KEY_W}, {GLFW_KEY_W}, {}, {GLFW_KEY_F1}, {GLFW_KEY_W}};
    EXPECT_EQ(seen, expected);

    ASSERT_EQ(journaled.close(), "");
    std::vector<FrameInput> replay;
    ASSERT_TRUE(loadInputScript(dir.file("journal.txt"), replay, error)) << error;
    ASSERT_EQ(replay.size(), expected.size());
    for (size_t frame = 0; frame < replay.size(); ++frame) EXPECT_EQ(replay[frame].keys, expected[frame]) << frame;
    glfwDestroyWindow(window);
    glfwTerminate();
}

} // namespace
} // namespace ruma
