#include "platform/glfw_platform.h"

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

void GlfwPlatform::setWindowSize(int width, int height)
{
    if (window_) glfwSetWindowSize(window_, width, height);
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
