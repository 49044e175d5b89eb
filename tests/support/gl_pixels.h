// Reading pictures back from GL in tests: an off-screen target of its own
// size, textures read back, and the state every drawing step must leave.
#pragma once

#include "render/gl.h"
#include "support/image.h"

#include <glm/vec3.hpp>

#include <vector>

namespace ruma::test {

// A framebuffer with an RGBA colour and a depth attachment of its own size.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    // Binds it, sets the viewport and clears colour (to clearColour) and depth.
    void bindAndClear(const glm::vec3& clearColour = glm::vec3(0.0f));
    // RGB rows, bottom row first.
    std::vector<unsigned char> read() const;

    int width, height;
    GLuint framebuffer = 0, colour = 0, depth = 0;
};

// RGB rows of a framebuffer's first colour attachment, bottom row first.
std::vector<unsigned char> readFramebuffer(GLuint framebuffer, int width, int height);
// Level 0 of a texture as format (GL_RGB or GL_RGBA) bytes, bottom row first; leaves it bound.
std::vector<unsigned char> readTexture(GLuint texture, int width, int height, GLenum format = GL_RGB);

} // namespace ruma::test
