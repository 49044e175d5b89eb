#include "platform/glfw_platform.h"

#include <X11/Xlib.h>

// From glfw3native.h, which would also want the XRandR headers for this one call.
extern "C" Display* glfwGetX11Display(void);

namespace ruma {

double GlfwPlatform::time() { return glfwGetTime(); }

bool GlfwPlatform::isKeyPressed(int key)
{
    return window_ && glfwGetKey(window_, key) == GLFW_PRESS;
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

void GlfwPlatform::pollEvents() { glfwPollEvents(); }

bool GlfwPlatform::shouldClose() { return window_ && glfwWindowShouldClose(window_); }

void GlfwPlatform::swapBuffers()
{
    if (window_) glfwSwapBuffers(window_);
}

} // namespace ruma
