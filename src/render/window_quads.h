// Quads laid out in window pixels and drawn over the frame: the full-window
// pictures, the HUD's overlay and its text. They share one way of drawing:
// a program of the ui kind (attribute 0 the window position in pixels,
// attribute 1 a second pair, uniforms w and h for half the window and
// colorTexture for unit 0), blended over what is there.
#pragma once

#include "render/gl.h"

namespace ruma {

struct Shader;
struct Texture;

struct WindowQuads {
    Shader* shader = nullptr;
    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;   // attribute 0: window position in pixels
    GLuint secondBuffer = 0;     // attribute 1: a picture's corner in -1..1, or a glyph's atlas cell
    GLint hLocation = -1;
    GLint wLocation = -1;
    GLint colorTextureLocation = -1;

    // The program (this vertex shader with ui.frag), both buffers (no data
    // yet), the vertex array and the locations.
    void create(const char* vertexShaderPath);
    // Uploads vertexCount vertices (two floats each per attribute) and draws
    // them as triangles on a width x height window with the texture on unit 0
    // (none: the unit keeps its binding). Leaves no program, vertex array or
    // buffer bound, both attributes off and blending off.
    void draw(const Texture* texture, const GLfloat* positions, const GLfloat* second, GLsizei vertexCount,
              int width, int height);
    // The buffers, the vertex array and the program; safe to call twice.
    void release();
};

// A window-sized quad drawn with the ui program, rebuilt in pixels at every draw.
struct PictureQuad : WindowQuads {
    // With the ui program.
    void create();
    // Covers a width x height window with the picture, blended over what is
    // there; no picture draws with no texture at all.
    void draw(const Texture* picture, int width, int height);
};

} // namespace ruma
