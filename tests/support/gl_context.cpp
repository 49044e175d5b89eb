#include "support/gl_context.h"

#include "platform/window.h"
#include "render/gl.h"

#include <chrono>
#include <thread>

namespace ruma::test {

namespace {

GLFWwindow* context = nullptr;
std::string lastError;

void recordGlfwError(int code, const char* description)
{
    lastError = "GLFW error " + std::to_string(code) + ": " + (description ? description : "");
}

bool tryCreate()
{
    if (!glfwInit()) return false;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    context = glfwCreateWindow(1280, 720, "tovik3d tests", nullptr, nullptr);
    if (!context) {
        glfwTerminate();
        return false;
    }
    glfwMakeContextCurrent(context);
    glewExperimental = GL_TRUE;
    GLenum status = glewInit();
    if (status != GLEW_OK && status != GLEW_ERROR_NO_GLX_DISPLAY) {
        lastError = "glewInit failed with " + std::to_string(status);
        glfwDestroyWindow(context);
        context = nullptr;
        glfwTerminate();
        return false;
    }
    return true;
}

} // namespace

const std::string& glContextError() { return lastError; }

bool ensureGlContext()
{
    if (context) {
        glfwMakeContextCurrent(context);
        return true;
    }
    if (!haveDisplay()) {
        lastError = "DISPLAY is not set";
        return false;
    }
    glfwSetErrorCallback(recordGlfwError);
    // A busy X server now and then refuses a connection: try a few times.
    for (int attempt = 0; attempt < 5 && !context; ++attempt) {
        if (tryCreate()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * (attempt + 1)));
    }
    if (!context) return false;
    drainGlErrors();
    ruma::window = context;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    return true;
}

int drainGlErrors()
{
    int count = 0;
    while (glGetError() != GL_NO_ERROR && count < 1000) ++count;
    return count;
}

} // namespace ruma::test
