// Single-line text from 16 x 16-cell bitmap fonts, drawn over the frame in
// window pixels, and the HUD that reacts to the chasing cat: a full-window
// overlay of the distance band and the distance in the upper-right corner.
#pragma once

#include "render/gl.h"

#include <vector>

namespace ruma {

struct Shader;
struct Texture;

class TextRenderer {
public:
    // Loads the fonts and overlays, builds the text and overlay programs and
    // the shared vertex buffers. A missing file ends the game.
    TextRenderer();

    // The band of the last drawHud: 0 CLOSE, 1 NORMAL, 2 FAR. Picks the dark font.
    int distanceBand;

    // Draws text with the lower-left corner of its first glyph at pixel (x, y),
    // y up from the bottom of the window; every glyph is size x size pixels.
    // plainFont picks the white font, else the dark font of distanceBand.
    void drawText(bool plainFont, const char* text, int x, int y, int size, int screenWidth, int screenHeight);
    // The distance overlay and label for this frame of play.
    void drawHud(int catDistance, int width, int height);
    // Frees every GL object, texture and program; safe to call twice.
    void release();

    Texture* plainFontTexture = nullptr;
    Texture* darkFontTextures[3] = {nullptr, nullptr, nullptr};   // by band
    Texture* overlayTextures[3] = {nullptr, nullptr, nullptr};    // by band
    Shader* textProgram = nullptr;
    Shader* overlayProgram = nullptr;
    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;
    GLuint texCoordBuffer = 0;

private:
    struct Uniforms {
        GLint h = -1;
        GLint w = -1;
        GLint colorTexture = -1;
    };

    static Uniforms lookUpUniforms(const Shader& shader);
    // Uploads the quads, draws them blended with the program and texture (none:
    // the unit keeps its binding) and leaves no program, array or buffer bound.
    void drawQuads(const Shader& program, const Uniforms& uniforms, const Texture* texture,
                   const std::vector<float>& positions, const std::vector<float>& secondAttribute,
                   int screenWidth, int screenHeight);

    Uniforms textUniforms_;
    Uniforms overlayUniforms_;
};

} // namespace ruma
