// Single-line text from 16 x 16-cell bitmap fonts, drawn over the frame in
// window pixels, and the HUD that reacts to the chasing cat: a full-window
// overlay of the distance band and the distance in the upper-right corner.
#pragma once

#include "render/window_quads.h"

#include <vector>

namespace ruma {

struct HudLayout;
struct Texture;

// The files by band (close, normal, far).
constexpr const char* kDarkFontFiles[3] = {"Resources/Fonts/segeodarkclose.png", "Resources/Fonts/segeodarknormal.png",
                                           "Resources/Fonts/segeodarkfar.png"};
constexpr const char* kPlainFontFile = "Resources/Fonts/segeo.png";
constexpr const char* kOverlayFiles[3] = {"Resources/Images/uiCLOSE.png", "Resources/Images/uiNORMAL.png",
                                          "Resources/Images/uiFAR.png"};

class TextRenderer {
public:
    // Loads the fonts and overlays and builds the text and overlay quads with
    // their programs. A missing file ends the game.
    TextRenderer();
    virtual ~TextRenderer() = default;

    // The band of the last drawHud: 0 CLOSE, 1 NORMAL, 2 FAR. Picks the dark font.
    int distanceBand;

    // Draws text with the lower-left corner of its first glyph at pixel (x, y),
    // y up from the bottom of the window; every glyph is size x size pixels.
    // plainFont picks the white font, else the dark font of distanceBand.
    virtual void drawText(bool plainFont, const char* text, int x, int y, int size, int screenWidth, int screenHeight);
    // The distance overlay and label for this frame of play; with
    // overlayDrawn the overlay is already in the frame (the blur lays it).
    void drawHud(int distance, int width, int height, bool overlayDrawn = false);
    // The distance label (and "RUN!") where the layout puts it, in its band's dark font.
    void drawDistance(const HudLayout& layout, int width, int height);
    // The overlay of the cat's distance band.
    const Texture* overlayFor(int distance) const;
    // Frees every GL object, texture and program; safe to call twice.
    void release();

    Texture* plainFontTexture = nullptr;
    Texture* darkFontTextures[3] = {nullptr, nullptr, nullptr};   // by band
    Texture* overlayTextures[3] = {nullptr, nullptr, nullptr};    // by band
    WindowQuads glyphQuads;   // the text program; atlas cells at attribute 1
    PictureQuad overlayQuad;  // the overlay covers the window as a picture does

private:
    // Vertex data of the text being drawn, kept between calls so that a
    // frame's lines reuse the room of the last ones.
    std::vector<float> positions;
    std::vector<float> texCoords;
};

} // namespace ruma
