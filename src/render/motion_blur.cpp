#include "render/motion_blur.h"

#include "platform/fatal.h"
#include "platform/window.h"
#include "render/shader.h"
#include "render/draw_stats.h"

#include <glm/gtc/type_ptr.hpp>

namespace ruma {

namespace {

// Two triangles covering the window.
const GLfloat kQuad[18] = {
    -1.0f, -1.0f, 0.0f, 1.0f, -1.0f, 0.0f, -1.0f, 1.0f, 0.0f,
    -1.0f, 1.0f,  0.0f, 1.0f, -1.0f, 0.0f, 1.0f,  1.0f, 0.0f,
};

// Binds the attachment and gives it storage of the given size, no data.
void storeAttachment(GLuint texture, bool depth, int width, int height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    if (depth)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT,
                     GL_FLOAT, nullptr);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
}

void setNearestClamped()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

} // namespace

MotionBlur::MotionBlur()
    : shader(nullptr), framebuffer(0), colourTexture(0), depthTexture(0), quadBuffer(0),
      vertexArray(0), width(windowWidth), height(windowHeight)
{
    shader = new Shader("Resources/Shader/mblur.vert", "Resources/Shader/mblur.frag");

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    glGenTextures(1, &colourTexture);
    storeAttachment(colourTexture, false, width, height);
    setNearestClamped();
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colourTexture, 0);

    glGenTextures(1, &depthTexture);
    storeAttachment(depthTexture, true, width, height);
    setNearestClamped();
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depthTexture, 0);

    const GLenum drawBuffers[1] = {GL_COLOR_ATTACHMENT0};
    glDrawBuffers(1, drawBuffers);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        fatalError("Failed to initialize Framebuffer");

    glGenBuffers(1, &quadBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof kQuad, kQuad, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    positionLocation = glGetAttribLocation(shader->program, "position");
    glEnableVertexAttribArray(static_cast<GLuint>(positionLocation));
    glVertexAttribPointer(static_cast<GLuint>(positionLocation), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    GLuint program = shader->program;
    velocityScaleLocation = glGetUniformLocation(program, "velocityScale");
    frameTextureLocation = glGetUniformLocation(program, "frameTexture");
    depthTextureLocation = glGetUniformLocation(program, "depthTexture");
    inverseViewProjMatLocation = glGetUniformLocation(program, "inverseViewProjMat");
    prevViewProjLocation = glGetUniformLocation(program, "prevViewProj");
    isFastLocation = glGetUniformLocation(program, "isFast");
    overlayTextureLocation = glGetUniformLocation(program, "overlayTexture");
    hasOverlayLocation = glGetUniformLocation(program, "hasOverlay");
    overlayScaleLocation = glGetUniformLocation(program, "overlayScale");
}

void MotionBlur::allocateAttachments()
{
    // New storage for the same texture names: the framebuffer keeps them attached.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    storeAttachment(colourTexture, false, width, height);
    storeAttachment(depthTexture, true, width, height);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

void MotionBlur::resize(int newWidth, int newHeight)
{
    if (newWidth <= 0 || newHeight <= 0) return;
    if (newWidth == width && newHeight == height) return;
    width = newWidth;
    height = newHeight;
    allocateAttachments();
}

void MotionBlur::pass(bool isFast, float velocityScale, glm::mat4 inverseViewProj, glm::mat4 prevViewProj,
                      GLuint overlay)
{
    glBindVertexArray(vertexArray);
    glUseProgram(shader->program);
    glUniform1i(isFastLocation, isFast ? 1 : 0);
    glUniform1f(velocityScaleLocation, velocityScale);
    glUniformMatrix4fv(inverseViewProjMatLocation, 1, GL_FALSE, glm::value_ptr(inverseViewProj));
    glUniformMatrix4fv(prevViewProjLocation, 1, GL_FALSE, glm::value_ptr(prevViewProj));

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colourTexture);
    glUniform1i(frameTextureLocation, 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, depthTexture);
    glUniform1i(depthTextureLocation, 1);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, overlay);
    glUniform1i(overlayTextureLocation, 2);
    glUniform1i(hasOverlayLocation, overlay != 0 ? 1 : 0);
    // A picture quad spans its window in steps of whole half-window pixels.
    const float halfWidth = static_cast<float>(windowWidth / 2), halfHeight = static_cast<float>(windowHeight / 2);
    const float w = static_cast<float>(windowWidth), h = static_cast<float>(windowHeight);
    glUniform2f(overlayScaleLocation, 2.0f * halfWidth / (w * w), 2.0f * halfHeight / (h * h));

    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    ++drawCallCount;
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisableVertexAttribArray(0);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void MotionBlur::release()
{
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colourTexture);
    glDeleteTextures(1, &depthTexture);
    glDeleteBuffers(1, &quadBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    deleteShader(shader);
    framebuffer = colourTexture = depthTexture = quadBuffer = vertexArray = 0;
}

} // namespace ruma
