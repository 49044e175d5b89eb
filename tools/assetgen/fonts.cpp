// Glyph atlases: 16 x 16 cells of 32 pixels indexed by byte value, row 0 at
// the top, every glyph on one baseline and centred in its cell, so a string
// drawn cell by cell reads as even, slightly wide text.
#include "assets.h"
#include "image_files.h"
#include "palette.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr int kCell = 32;
constexpr int kAtlas = 16 * kCell;
constexpr int kMargin = 3;   // room for the rim and against mipmap bleeding
constexpr Typeface kFace = Typeface::Bold;

struct Layout {
    float size = 0;
    int baseline = 0;   // pixel row inside a cell
};

// The largest size at which every printable ASCII glyph fits inside its cell.
Layout fitLayout()
{
    for (float size = 30.0f; size >= 12.0f; size -= 0.5f) {
        int above = 0, below = 0, widest = 0;
        for (int ch = 33; ch < 127; ++ch) {
            Glyph g = renderGlyph(static_cast<unsigned char>(ch), kFace, size);
            above = std::max(above, g.top);
            below = std::max(below, g.mask.height - g.top);
            widest = std::max({widest, g.mask.width, static_cast<int>(std::ceil(g.advance))});
        }
        int room = kCell - 2 * kMargin;
        if (above + below <= room && widest <= room) return {size, kMargin + above + (room - above - below) / 2};
    }
    throw std::runtime_error("glyphs do not fit the atlas cells");
}

// Paints every printable ASCII glyph; `rim` > 0 adds a soft rim of rimColor.
Canvas paintAtlas(const Layout& layout, Color ink, Color rimColor, float rim)
{
    Canvas atlas(kAtlas, kAtlas, withAlpha(rim > 0 ? rimColor : ink, 0.0f));
    for (int ch = 33; ch < 127; ++ch) {
        Glyph g = renderGlyph(static_cast<unsigned char>(ch), kFace, layout.size);
        Mask cell(kCell, kCell);
        int left = static_cast<int>(std::lround((kCell - g.advance) * 0.5f)) + g.left;
        left = std::clamp(left, kMargin, kCell - kMargin - g.mask.width);
        int top = layout.baseline - g.top;
        for (int y = 0; y < g.mask.height; ++y)
            for (int x = 0; x < g.mask.width; ++x)
                cell.value[static_cast<size_t>(top + y) * kCell + left + x] = g.mask.at(x, y);
        int cx = (ch % 16) * kCell, cy = (ch / 16) * kCell;
        if (rim > 0) atlas.fillMask(cell.dilated(rim), cx, cy, solid(rimColor));
        atlas.fillMask(cell, cx, cy, solid(ink));
    }
    return atlas;
}

} // namespace

void writeFonts(const std::string& root)
{
    Layout layout = fitLayout();
    // White HUD lines over any scene: a dark rim keeps them readable on snow and sky alike.
    savePng(paintAtlas(layout, {1, 1, 1, 1}, {0, 0, 0, 0.8f}, 1.6f), root + "/Fonts/segeo.png", true);
    const char* files[3] = {"segeodarkclose.png", "segeodarknormal.png", "segeodarkfar.png"};
    for (int band = 0; band < 3; ++band)
        savePng(paintAtlas(layout, kBands[band].ink, withAlpha(kBands[band].panel, 0.7f), 1.4f),
                root + "/Fonts/" + files[band], true);
}

} // namespace assetgen
