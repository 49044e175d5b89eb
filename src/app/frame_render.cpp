#include "app/frame_loop.h"
#include "platform/window.h"
#include "render/gl.h"
#include "render/gl_error.h"

namespace ruma {

void renderFrame(double)
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    checkGlError(342);
}

} // namespace ruma
