// Where glyph quads lie, which atlas cells they show, and where the HUD writes the distance.
#include "text/text_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ruma {
namespace {

// The bounding box of quads [first, last) of a vertex list (positions or texture coordinates).
struct Box { float x0, y0, x1, y1; };
Box quadBox(const std::vector<float>& vertices, size_t first, size_t last)
{
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    for (size_t i = first * 12; i < last * 12; i += 2)
        box = {std::min(box.x0, vertices[i]), std::min(box.y0, vertices[i + 1]), std::max(box.x1, vertices[i]),
               std::max(box.y1, vertices[i + 1])};
    return box;
}

TEST(TextVertices, GlyphsSitSideBySideAndShowTheirAtlasCell)
{
    std::vector<float> positions, texCoords;
    buildTextVertices("AbcdefG", 20, 30, 15, positions, texCoords);
    ASSERT_EQ(positions.size(), 7u * 6 * 2);
    ASSERT_EQ(texCoords.size(), positions.size());
    for (size_t i = 0; i < 7; ++i) {
        const Box glyph = quadBox(positions, i, i + 1);
        EXPECT_FLOAT_EQ(glyph.x0, 20.0f + 15.0f * i);
        EXPECT_FLOAT_EQ(glyph.x1 - glyph.x0, 15.0f);
    }
    const Box whole = quadBox(positions, 0, 7);
    EXPECT_EQ(std::vector<float>({whole.x0, whole.y0, whole.x1, whole.y1}), std::vector<float>({20, 30, 125, 45}));

    // "A" (65): column 1, row 4 counted from the top of the image; each corner
    // of the glyph shows the same corner of its cell.
    for (size_t corner = 0; corner < 6; ++corner) {
        const bool left = positions[corner * 2] == 20.0f, bottom = positions[corner * 2 + 1] == 30.0f;
        EXPECT_FLOAT_EQ(texCoords[corner * 2], left ? 0.0625f : 0.125f) << corner;
        EXPECT_FLOAT_EQ(texCoords[corner * 2 + 1], bottom ? 0.6875f : 0.75f) << corner;
    }
}

TEST(TextVertices, BytesBeyondTheAtlasDrawAsQuestionMarksAndNothingDrawsNothing)
{
    std::vector<float> positions, mended, question;
    const char text[] = {static_cast<char>(0x80), static_cast<char>(0xE9), static_cast<char>(0xFF), 0};
    buildTextVertices(text, 0, 0, 10, positions, mended);
    buildTextVertices("???", 0, 0, 10, positions, question);
    EXPECT_EQ(mended, question);
    positions.clear();
    mended.clear();
    buildTextVertices("", 5, 5, 10, positions, mended);
    EXPECT_TRUE(positions.empty());
    EXPECT_TRUE(mended.empty());
}

TEST(HudLayout, BandsLabelsAndPositions)
{
    struct Case {
        int distance, band;
        const char* label;
        int x, y, size;
        bool run;
    };
    const Case cases[] = {
        {0, kBandClose, "0m", 1190, 660, 35, true},   // the first frame of play
        {9, kBandClose, "4m", 1190, 660, 35, true},
        {10, kBandNormal, "5m", 1221, 675, 20, false},
        {19, kBandNormal, "9m", 1221, 675, 20, false},
        {20, kBandFar, "10m", 1225, 685, 15, false},
        {201, kBandFar, "100m", 1210, 685, 15, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        const HudLayout layout = layoutHud(c.distance, 1280, 720);
        EXPECT_EQ(layout.band, c.band);
        EXPECT_EQ(layout.label, c.label);
        EXPECT_EQ(std::vector<int>({layout.labelX, layout.labelY, layout.labelSize}), std::vector<int>({c.x, c.y, c.size}));
        EXPECT_EQ(layout.showRun, c.run);
        if (c.run) {
            EXPECT_EQ(std::vector<int>({layout.runX, layout.runY}), std::vector<int>({c.x, 720 - 75}));
        }
    }
    // Another window size moves the label with the upper-right corner.
    const HudLayout small = layoutHud(25, 640, 360);
    EXPECT_EQ(small.labelX, 640 - 45 - 10);
    EXPECT_EQ(small.labelY, 325);
}

} // namespace
} // namespace ruma
