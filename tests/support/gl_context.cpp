#include "support/gl_context.h"

#include "platform/window.h"
#include "render/gl.h"

#include <cstdlib>

namespace ruma::test {

namespace {

GLFWwindow* context = nullptr;
bool tried = false;

} // namespace

bool ensureGlContext()
{
    if (context) {
        glfwMakeContextCurrent(context);
        return true;
    }
    if (tried) return false;
    tried = true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    if (!glfwInit()) return false;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    context = glfwCreateWindow(1280, 720, "tovik3d tests", nullptr, nullptr);
    if (!context) return false;
    glfwMakeContextCurrent(context);
    glewExperimental = GL_TRUE;
    GLenum status = glewInit();
    if (status != GLEW_OK && status != GLEW_ERROR_NO_GLX_DISPLAY) return false;
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
