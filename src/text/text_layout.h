// The arithmetic of bitmap text and of the distance HUD, kept apart from GL:
// where each glyph's quad lies on screen, which atlas cell it shows, and where
// the cat's distance is written in each band.
#pragma once

#include <string>
#include <vector>

namespace ruma {

// Distance bands of the HUD: they pick the overlay and the dark font.
constexpr int kBandClose = 0;
constexpr int kBandNormal = 1;
constexpr int kBandFar = 2;

// Cells per row and per column of a font atlas.
constexpr int kAtlasCells = 16;

// The atlas cell a byte is drawn with: the byte as a signed number. A byte
// from 128 up gives a negative cell, whose column and row (remainder and
// quotient by 16, both toward zero) lie left of and below the atlas: the
// font repeats, so it shows the cell those coordinates wrap round to.
int glyphCell(char byte);

// Appends the six corners of a quad as two counter-clockwise triangles, in
// the order every textured quad of the HUD is drawn: (x0, y1), (x0, y0),
// (x1, y1), (x1, y0), (x1, y1), (x0, y0).
void appendQuad(std::vector<float>& to, float x0, float y0, float x1, float y1);

// One size x size quad per byte of text, the first with its lower-left corner
// at pixel (x, y), y up; texCoords get the matching atlas cells (row 0 at the
// top of the image, which is v = 1).
void buildTextVertices(const char* text, int x, int y, int size, std::vector<float>& positions,
                       std::vector<float>& texCoords);

int distanceBandFor(int catDistance);

// What drawHud writes for a cat distance on a width x height window.
struct HudLayout {
    int band = kBandClose;
    std::string label;          // the distance in metres: catDistance / 2, then "m"
    int labelX = 0;
    int labelY = 0;
    int labelSize = 0;
    bool showRun = false;       // "RUN!" under the label while the cat is close
    int runX = 0;
    int runY = 0;
};

constexpr int kRunSize = 15;

HudLayout layoutHud(int catDistance, int width, int height);

} // namespace ruma
