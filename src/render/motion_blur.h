// The motion-blur post-process: the scene is drawn into `framebuffer` (a
// colour and a depth texture the size of the window), then one full-window
// pass smears each pixel along the way the camera moved it since the last frame.
#pragma once

#include "render/gl.h"

#include <glm/mat4x4.hpp>

namespace ruma {

struct Shader;

class MotionBlur {
public:
    // Sized to windowWidth x windowHeight; leaves `framebuffer` bound.
    MotionBlur();

    Shader* shader;
    GLuint framebuffer;
    GLuint colourTexture;
    GLuint depthTexture;
    GLuint quadBuffer;
    GLuint vertexArray;
    GLint positionLocation;
    GLint velocityScaleLocation;
    GLint frameTextureLocation;
    GLint isFastLocation;
    GLint depthTextureLocation;
    GLint inverseViewProjMatLocation;
    GLint prevViewProjLocation;
    GLint overlayTextureLocation;
    GLint hasOverlayLocation;
    GLint overlayScaleLocation;
    int width;    // size of both attachments
    int height;

    // Reallocates both attachments when the window has changed size, so the
    // blurred picture always covers the window. A zero size (minimised) is ignored.
    void resize(int newWidth, int newHeight);
    // Draws the blurred frame into the bound framebuffer, with the overlay
    // texture (0: none) blended over it as a window-sized picture would be.
    // Leaves texture unit 2 active.
    void pass(bool isFast, float velocityScale, glm::mat4 inverseViewProj, glm::mat4 prevViewProj,
              GLuint overlay = 0);
    void release();

private:
    void allocateAttachments();
};

} // namespace ruma
