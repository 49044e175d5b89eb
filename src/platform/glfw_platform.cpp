#include "platform/glfw_platform.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>

// From glfw3native.h, which would also want the XRandR headers for this one call.
extern "C" Display* glfwGetX11Display(void);

namespace ruma {

double GlfwPlatform::time() { return glfwGetTime(); }

void GlfwPlatform::setWindow(GLFWwindow* window)
{
    window_ = window;
    pressed_.fill(false);
    held_.fill(false);
    // GLFW then keeps a released key pressed until it is read once.
    if (window_) glfwSetInputMode(window_, GLFW_STICKY_KEYS, GLFW_TRUE);
}

bool GlfwPlatform::isKeyPressed(int key) { return key >= 0 && key <= GLFW_KEY_LAST && pressed_[key]; }

void GlfwPlatform::readKeys()
{
    if (!window_) return;
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_LAST; ++key) {
        // A sticky key reads pressed once after its release, then released:
        // a second read tells a key still down from one let go since.
        const bool down = glfwGetKey(window_, key) == GLFW_PRESS;
        const bool stillDown = down && glfwGetKey(window_, key) == GLFW_PRESS;
        // Let go since the last poll: a tap when it was up then, seen this
        // once; the end of a hold, which ends at once as it always has.
        pressed_[key] = stillDown || (down && !held_[key]);
        held_[key] = stillDown;
    }
}

void GlfwPlatform::getCursorPos(double& x, double& y)
{
    x = y = 0.0;
    if (window_) glfwGetCursorPos(window_, &x, &y);
}

void GlfwPlatform::setCursorPos(double x, double y)
{
    if (window_) glfwSetCursorPos(window_, x, y);
}

bool GlfwPlatform::hasFocus()
{
    return window_ && glfwGetWindowAttrib(window_, GLFW_FOCUSED) != 0;
}

void GlfwPlatform::getWindowSize(int& width, int& height)
{
    width = height = 0;
    if (window_) glfwGetWindowSize(window_, &width, &height);
}

namespace {

// Xlib's default handler ends the process on any error; a size the server
// refuses is not worth that: the window simply keeps the size it has.
int ignoreRefusal(Display*, XErrorEvent*) { return 0; }

} // namespace

void GlfwPlatform::setWindowSize(int width, int height)
{
    if (!window_) return;
    Display* display = glfwGetX11Display();
    if (!display) {
        glfwSetWindowSize(window_, width, height);
        return;
    }
    // The answer to the request is awaited under a handler of our own, so a
    // refusal cannot reach (or outlive) Xlib's.
    XSync(display, False);
    XErrorHandler previous = XSetErrorHandler(ignoreRefusal);
    glfwSetWindowSize(window_, width, height);
    XSync(display, False);
    XSetErrorHandler(previous);
}

void GlfwPlatform::setWindowTitle(const char* title)
{
    if (window_) glfwSetWindowTitle(window_, title);
}

namespace {

// The first joystick that GLFW knows as a gamepad. Pads come and go at any
// time: one that is gone between the two calls simply reads as no pad.
PadState readFirstGamepad()
{
    PadState pad;
    for (int jid = GLFW_JOYSTICK_1; jid <= GLFW_JOYSTICK_LAST; ++jid) {
        GLFWgamepadstate state;
        if (!glfwJoystickIsGamepad(jid) || !glfwGetGamepadState(jid, &state)) continue;
        pad.leftX = state.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
        pad.leftY = state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
        pad.rightX = state.axes[GLFW_GAMEPAD_AXIS_RIGHT_X];
        pad.rightY = state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y];
        if (state.buttons[GLFW_GAMEPAD_BUTTON_A] == GLFW_PRESS) pad.buttons |= kPadA;
        if (state.buttons[GLFW_GAMEPAD_BUTTON_START] == GLFW_PRESS) pad.buttons |= kPadStart;
        if (state.buttons[GLFW_GAMEPAD_BUTTON_BACK] == GLFW_PRESS) pad.buttons |= kPadBack;
        // A released trigger reads -1, a pulled one 1.
        if (state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] > 0.0f) pad.buttons |= kPadRightTrigger;
        break;
    }
    return pad;
}

} // namespace

namespace {

void printGlfwError(int, const char* description) { std::cout << "GLFW: " << description << std::endl; }

} // namespace

void reportGlfwErrors(bool on) { glfwSetErrorCallback(on ? printGlfwError : nullptr); }

void loadGamepadMappings()
{
    const char* mappings = std::getenv("SDL_GAMECONTROLLERCONFIG");
    if (!mappings || !*mappings) return;
    glfwGetError(nullptr);
    // GLFW skips the lines it cannot read and only says so through its error state.
    if (!glfwUpdateGamepadMappings(mappings) || glfwGetError(nullptr) != GLFW_NO_ERROR)
        std::cerr << "SDL_GAMECONTROLLERCONFIG holds mappings that cannot be read" << std::endl;
}

void GlfwPlatform::pollEvents()
{
    glfwPollEvents();
    readKeys();
    pad_ = readFirstGamepad();
}

bool GlfwPlatform::shouldClose() { return window_ && glfwWindowShouldClose(window_); }

void GlfwPlatform::swapBuffers()
{
    if (window_) glfwSwapBuffers(window_);
}

} // namespace ruma
