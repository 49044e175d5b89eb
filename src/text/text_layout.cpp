#include "text/text_layout.h"

#include <cstring>

namespace ruma {

namespace {

constexpr float kCell = 1.0f / kAtlasCells;

} // namespace

int glyphCell(char byte) { return static_cast<signed char>(byte); }

void appendQuad(std::vector<float>& to, float x0, float y0, float x1, float y1)
{
    const float corners[12] = {x0, y1, x0, y0, x1, y1, x1, y0, x1, y1, x0, y0};
    to.insert(to.end(), corners, corners + 12);
}

void buildTextVertices(const char* text, int x, int y, int size, std::vector<float>& positions,
                       std::vector<float>& texCoords)
{
    const size_t n = std::strlen(text);
    positions.reserve(positions.size() + n * 12);
    texCoords.reserve(texCoords.size() + n * 12);
    for (size_t i = 0; i < n; ++i) {
        const int left = x + static_cast<int>(i) * size;
        appendQuad(positions, static_cast<float>(left), static_cast<float>(y), static_cast<float>(left + size),
                   static_cast<float>(y + size));

        const int cell = glyphCell(text[i]);
        const float u0 = static_cast<float>(cell % kAtlasCells) * kCell;
        const float v = static_cast<float>(cell / kAtlasCells) * kCell;
        appendQuad(texCoords, u0, 1.0f - (v + kCell), u0 + kCell, 1.0f - v);
    }
}

int distanceBandFor(int catDistance)
{
    if (catDistance < 10) return kBandClose;
    if (catDistance < 20) return kBandNormal;
    return kBandFar;
}

HudLayout layoutHud(int catDistance, int width, int height)
{
    HudLayout layout;
    layout.band = distanceBandFor(catDistance);
    layout.label = std::to_string(catDistance / 2) + "m";
    const int len = static_cast<int>(layout.label.size());
    // Right-aligned near the upper-right corner; the closer the cat, the bigger.
    switch (layout.band) {
    case kBandClose:
        layout.labelSize = 35;
        layout.labelX = width - 35 * len - 20;
        layout.labelY = height - 60;
        layout.showRun = true;
        layout.runX = layout.labelX;
        layout.runY = height - 75;
        break;
    case kBandNormal:
        layout.labelSize = 20;
        layout.labelX = width - 20 * len - 19;
        layout.labelY = height - 45;
        break;
    default:
        layout.labelSize = 15;
        layout.labelX = width - 15 * len - 10;
        layout.labelY = height - 35;
        break;
    }
    return layout;
}

} // namespace ruma
