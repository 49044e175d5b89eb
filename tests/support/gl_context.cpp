#include "support/gl_context.h"

#include "platform/window.h"

#include <chrono>
#include <thread>

namespace ruma::test {

namespace {

GLFWwindow* context = nullptr;

bool tryCreate()
{
    if (!glfwInit()) return false;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    context = glfwCreateWindow(1280, 720, "tovik3d tests", nullptr, nullptr);
    if (context) {
        glfwMakeContextCurrent(context);
        glewExperimental = GL_TRUE;
        const GLenum status = glewInit();
        if (status == GLEW_OK || status == GLEW_ERROR_NO_GLX_DISPLAY) return true;
        glfwDestroyWindow(context);
        context = nullptr;
    }
    glfwTerminate();
    return false;
}

} // namespace

bool ensureGlContext()
{
    if (context) {
        glfwMakeContextCurrent(context);
        return true;
    }
    if (!haveDisplay()) return false;
    // A busy X server now and then refuses a connection: try a few times.
    for (int attempt = 0; attempt < 5 && !tryCreate(); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * (attempt + 1)));
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

std::vector<unsigned char> readTexture(GLuint texture, int width, int height, GLenum format, int level)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * (format == GL_RGBA ? 4 : 3));
    glFinish();
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty()) glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
}

OffscreenTarget::OffscreenTarget(int width_, int height_, bool withDepth) : width(width_), height(height_)
{
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour, 0);
    if (withDepth) {
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    }
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

OffscreenTarget::~OffscreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    if (depth) glDeleteRenderbuffers(1, &depth);
}

} // namespace ruma::test
