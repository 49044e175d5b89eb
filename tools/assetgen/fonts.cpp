// Glyph atlases: 16 x 16 cells of 32 pixels indexed by byte value, row 0 at
// the top. The game draws every character on a square quad as wide as the
// font size, so the glyphs are made to fill their cells: from the top of the
// ascenders to the bottom of the descenders they span nearly the whole cell
// height on one baseline, each is centred across its cell, and only the few
// glyphs too wide for a cell are squeezed. A clear texel along every cell
// border keeps the neighbours from bleeding in when the atlas is mip-mapped.
#include "assets.h"
#include "image_files.h"
#include "palette.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

constexpr int kCell = 32;
constexpr int kAtlas = 16 * kCell;
constexpr int kClear = 1;            // texels along each cell border left empty
constexpr float kBand = 28.0f;       // ascender top to descender bottom: nearly 90% of a cell
constexpr float kRim = 2.6f;         // the white font's dark rim: over a pixel wide at 15 px
constexpr float kWidest = kCell - 2 * (kClear + kRim);   // ink wider than this is squeezed
constexpr Typeface kFace = Typeface::Bold;   // DejaVu Sans Mono reads thinner and more spaced out

struct Layout {
    float size = 0;       // FreeType pixel size
    float above = 0;      // band above the baseline, in texels
    float below = 0;      // band below the baseline (negative)
    int baseline = 0;     // texel row of the baseline inside a cell
};

// The band every letter and digit fits in sets the size; the baseline puts
// the band in the middle of the cell.
Layout fitLayout()
{
    const std::string reference = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    float above = 0, below = 0;
    for (char ch : reference) {
        GlyphBox box = glyphBox(static_cast<unsigned char>(ch), kFace, 1.0f);
        above = std::max(above, box.y1);
        below = std::min(below, box.y0);
    }
    Layout layout;
    layout.size = kBand / (above - below);
    layout.above = above * layout.size;
    layout.below = below * layout.size;
    layout.baseline = static_cast<int>(std::lround((kCell - kBand) * 0.5f + layout.above));
    return layout;
}

// One glyph's coverage in a cell: inside the band (the few symbols that
// reach past it are moved or shrunk into it), centred across, and squeezed
// only where it would not fit the cell with its rim.
Mask glyphCell(unsigned char ch, const Layout& layout)
{
    GlyphBox box = glyphBox(ch, kFace, layout.size);
    glm::vec2 scale(1.0f);
    float height = box.y1 - box.y0, band = layout.above - layout.below;
    if (height > band) scale = glm::vec2(band / height);
    scale.x = std::min(scale.x, kWidest / (box.x1 - box.x0));
    glm::vec2 shift(kCell * 0.5f - (box.x0 + box.x1) * 0.5f * scale.x, 0.0f);
    if (box.y1 * scale.y > layout.above) shift.y = layout.above - box.y1 * scale.y;
    if (box.y0 * scale.y < layout.below) shift.y = layout.below - box.y0 * scale.y;

    Glyph g = renderGlyph(ch, kFace, layout.size, scale, shift);
    Mask cell(kCell, kCell);
    int top = layout.baseline - g.top;
    for (int y = 0; y < g.mask.height; ++y)
        for (int x = 0; x < g.mask.width; ++x) {
            float v = g.mask.at(x, y);
            if (v <= 0) continue;
            int cx = g.left + x, cy = top + y;
            if (cx < kClear || cy < kClear || cx >= kCell - kClear || cy >= kCell - kClear)
                throw std::runtime_error("glyph " + std::to_string(ch) + " does not fit its atlas cell");
            cell.value[static_cast<size_t>(cy) * kCell + cx] = v;
        }
    return cell;
}

// A rim around the glyph, cut off before the clear border of the cell.
Mask rimOf(const Mask& cell, float radius)
{
    Mask rim = cell.dilated(radius);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (x < kClear || y < kClear || x >= kCell - kClear || y >= kCell - kClear)
                rim.value[static_cast<size_t>(y) * kCell + x] = 0.0f;
    return rim;
}

// Paints every printable ASCII glyph in ink; `rim` > 0 adds a rim of rimColor.
// Empty texels carry the colour next to them so that filtering adds no fringe.
Canvas paintAtlas(const Layout& layout, Color ink, Color rimColor, float rim)
{
    Canvas atlas(kAtlas, kAtlas, withAlpha(rim > 0 ? rimColor : ink, 0.0f));
    for (int ch = 33; ch < 127; ++ch) {
        Mask cell = glyphCell(static_cast<unsigned char>(ch), layout);
        int cx = (ch % 16) * kCell, cy = (ch / 16) * kCell;
        if (rim > 0) atlas.fillMask(rimOf(cell, rim), cx, cy, solid(rimColor));
        atlas.fillMask(cell, cx, cy, solid(ink));
    }
    return atlas;
}

} // namespace

void writeFonts(const std::string& root)
{
    Layout layout = fitLayout();
    // White HUD lines over any scene: a dark rim keeps them readable on bright floors and sky alike.
    savePng(paintAtlas(layout, {1, 1, 1, 1}, {0, 0, 0, 1.0f}, kRim), root + "/Fonts/segeo.png", true);
    // The dark fonts are written on the overlays' light panel and need no rim.
    const char* files[3] = {"segeodarkclose.png", "segeodarknormal.png", "segeodarkfar.png"};
    for (int band = 0; band < 3; ++band)
        savePng(paintAtlas(layout, kBands[band].ink, {}, 0.0f), root + "/Fonts/" + files[band], true);
}

} // namespace assetgen
