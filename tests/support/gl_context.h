// A hidden window with an OpenGL 3.3 core context for tests that draw, and
// textures read back from it.
// Tests that need it start with TOVIK3D_REQUIRE_GL(); without a display they
// are skipped, so ctest outside Xvfb still runs every logic test.
#pragma once

#include "render/gl.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <vector>

namespace ruma::test {

// Makes the shared hidden 1280 x 720 test window's context current; false
// when there is no display or no context could be made.
bool ensureGlContext();
// Drains pending GL errors and returns how many there were.
int drainGlErrors();
// A level of a texture as format (GL_RGB or GL_RGBA) bytes, bottom row first; leaves it bound.
std::vector<unsigned char> readTexture(GLuint texture, int width, int height, GLenum format = GL_RGB, int level = 0);

// A width x height RGB frame (with a depth buffer if asked) to draw into
// instead of the window; bound and cleared to black by the constructor, with its viewport.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height, bool withDepth = false);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;
    // What was drawn, bottom row first, 3 bytes a pixel.
    std::vector<unsigned char> read() const { return readTexture(colour, width, height); }
    const int width, height;
    GLuint framebuffer = 0, colour = 0, depth = 0;
};

} // namespace ruma::test

// Skips without a display; fails when a display exists but GL does not work.
#define TOVIK3D_REQUIRE_GL()                                                        \
    do {                                                                            \
        if (!::ruma::test::haveDisplay()) GTEST_SKIP() << "no display";             \
        if (!::ruma::test::ensureGlContext()) FAIL() << "no GL context";            \
    } while (0)
