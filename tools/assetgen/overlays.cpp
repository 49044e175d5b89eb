// The distance overlays: clear in the middle, a vignette whose colour tells the
// danger at the edges, and a light panel in the upper-right corner on which
// the game writes the cat's distance with the band's dark font.
#include "assets.h"
#include "drawings.h"
#include "image_files.h"
#include "palette.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr float kVignetteBand = 0.07f;   // of the width at the sides, of the height at the top and bottom

// Where the label cells land on a 1280 x 720 window, in picture rows from the
// top: the game writes "<n>m" right-aligned at the top right, CLOSE at 35 px
// with "RUN!" below it at 15 px, NORMAL at 20 px, FAR at 15 px.
struct PanelPlace {
    float x0, y0, x1, y1;   // panel
    float vignette;         // vignette alpha on the very edge: light, strongest when close
};
const PanelPlace kPlaces[3] = {
    {1130, 12, 1272, 86, 0.45f},   // label x 1190-1260, rows 25-60; RUN! rows 60-75
    {1166, 14, 1272, 56, 0.36f},   // label x 1221-1261, rows 25-45
    {1150, 10, 1276, 45, 0.28f},   // label x 1225-1270 ("10m"), 1210-1270 ("100m"), rows 20-35
};

float smoothstep(float a, float b, float x)
{
    float t = glm::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

Canvas paintOverlay(int band)
{
    const BandColors& colors = kBands[band];
    const PanelPlace& place = kPlaces[band];
    Canvas canvas(kWidth, kHeight, withAlpha(colors.accent, 0.0f));

    // Vignette: a thin band along the edges that leaves the course in view. It
    // fades in over the outer kVignetteBand of the width at the sides and of
    // the height at the top and bottom, so the long edges are as strong as the
    // short ones, and the two bands merge in the corners.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            float dx = std::fabs((x + 0.5f) / kWidth * 2 - 1), dy = std::fabs((y + 0.5f) / kHeight * 2 - 1);
            float sides = smoothstep(1.0f - 2 * kVignetteBand, 1.0f, dx);
            float ends = smoothstep(1.0f - 2 * kVignetteBand, 1.0f, dy);
            float rise = 1.0f - (1.0f - sides) * (1.0f - ends);
            float a = rise * place.vignette;
            if (band == 0) a *= 0.85f + 0.15f * std::sin((x + y) * 0.045f);   // danger stripes on red
            if (a > 0) canvas.blend(x, y, mix(colors.accent, scaled(colors.accent, 0.7f), rise), a);
        }

    // The panel: light, nearly opaque, with an accent border and a cat head
    // on its left that says whose distance the number is.
    glm::vec2 lo(place.x0, place.y0), hi(place.x1, place.y1);
    canvas.fill(roundedBox(lo + 3.0f, hi + 3.0f, 12), Color{0, 0, 0, 0.25f});
    canvas.fill(roundedBox(lo, hi, 12), withAlpha(colors.accent, 0.95f));
    canvas.fill(roundedBox(lo + 3.0f, hi - 3.0f, 9), withAlpha(colors.panel, 0.93f));
    float iconSize = (hi.y - lo.y) * 0.62f;
    drawCatIcon(canvas, {lo.x + 10 + iconSize * 0.5f, (lo.y + hi.y) * 0.5f + iconSize * 0.08f}, iconSize, colors.ink);
    return canvas;
}

} // namespace

void writeOverlays(const std::string& root)
{
    for (int band = 0; band < 3; ++band)
        savePng(paintOverlay(band), root + "/Images/ui" + kBands[band].name + ".png", true);
}

} // namespace assetgen
