#include "text/text_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ruma {
namespace {

// The bounding box of quad i of a vertex list (positions or texture coordinates).
struct Box { float x0, y0, x1, y1; };
Box quadBox(const std::vector<float>& vertices, size_t quad)
{
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    for (size_t corner = 0; corner < 6; ++corner) {
        float x = vertices[quad * 12 + corner * 2];
        float y = vertices[quad * 12 + corner * 2 + 1];
        box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
    }
    return box;
}

TEST(TextVertices, GlyphsSitSideBySideAndShowTheirAtlasCell)
{
    std::vector<float> positions;
    std::vector<float> texCoords;
    buildTextVertices("AbcdefG", 20, 30, 15, positions, texCoords);
    ASSERT_EQ(positions.size(), 7u * 6 * 2);
    ASSERT_EQ(texCoords.size(), positions.size());

    Box whole = {1e9f, 1e9f, -1e9f, -1e9f};
    for (size_t i = 0; i < 7; ++i) {
        Box glyph = quadBox(positions, i);
        EXPECT_FLOAT_EQ(glyph.x0, 20.0f + 15.0f * i);
        EXPECT_FLOAT_EQ(glyph.x1 - glyph.x0, 15.0f);
        EXPECT_FLOAT_EQ(glyph.y1 - glyph.y0, 15.0f);
        whole = {std::min(whole.x0, glyph.x0), std::min(whole.y0, glyph.y0), std::max(whole.x1, glyph.x1),
                 std::max(whole.y1, glyph.y1)};
    }
    EXPECT_FLOAT_EQ(whole.x0, 20.0f);
    EXPECT_FLOAT_EQ(whole.x1, 125.0f);
    EXPECT_FLOAT_EQ(whole.y0, 30.0f);
    EXPECT_FLOAT_EQ(whole.y1, 45.0f);

    // "A" (65): column 1, row 4 counted from the top of the image.
    Box a = quadBox(texCoords, 0);
    EXPECT_FLOAT_EQ(a.x0, 0.0625f);
    EXPECT_FLOAT_EQ(a.x1, 0.125f);
    EXPECT_FLOAT_EQ(a.y0, 0.6875f);
    EXPECT_FLOAT_EQ(a.y1, 0.75f);

    // Each corner of a glyph shows the same corner of its cell: the lower-left
    // position takes the cell's lower-left texture coordinate.
    for (size_t corner = 0; corner < 6; ++corner) {
        bool left = positions[corner * 2] == 20.0f;
        bool bottom = positions[corner * 2 + 1] == 30.0f;
        EXPECT_FLOAT_EQ(texCoords[corner * 2], left ? 0.0625f : 0.125f) << corner;
        EXPECT_FLOAT_EQ(texCoords[corner * 2 + 1], bottom ? 0.6875f : 0.75f) << corner;
    }
}

TEST(TextVertices, BytesBeyondTheAtlasDrawAsQuestionMarks)
{
    std::vector<float> positions;
    std::vector<float> mended;
    std::vector<float> question;
    const char text[] = {static_cast<char>(0x80), static_cast<char>(0xE9), static_cast<char>(0xFF), 0};
    buildTextVertices(text, 0, 0, 10, positions, mended);
    buildTextVertices("???", 0, 0, 10, positions, question);
    EXPECT_EQ(mended, question);
    for (float coordinate : mended) {
        EXPECT_GE(coordinate, 0.0f);
        EXPECT_LE(coordinate, 1.0f);
    }
    positions.clear();
    mended.clear();
    buildTextVertices("", 5, 5, 10, positions, mended);
    EXPECT_TRUE(positions.empty());
    EXPECT_TRUE(mended.empty());
}

TEST(HudLayout, BandsLabelsAndPositions)
{
    struct Case {
        int distance;
        int band;
        const char* label;
        int x, y, size;
        bool run;
    };
    const Case cases[] = {
        {0, kBandClose, "0m", 1280 - 70 - 20, 660, 35, true},     // the first frame of play
        {9, kBandClose, "4m", 1280 - 70 - 20, 660, 35, true},
        {10, kBandNormal, "5m", 1280 - 40 - 19, 675, 20, false},
        {19, kBandNormal, "9m", 1280 - 40 - 19, 675, 20, false},
        {20, kBandFar, "10m", 1225, 685, 15, false},
        {201, kBandFar, "100m", 1280 - 60 - 10, 685, 15, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        HudLayout layout = layoutHud(c.distance, 1280, 720);
        EXPECT_EQ(layout.band, c.band);
        EXPECT_EQ(layout.label, c.label);
        EXPECT_EQ(layout.labelX, c.x);
        EXPECT_EQ(layout.labelY, c.y);
        EXPECT_EQ(layout.labelSize, c.size);
        EXPECT_EQ(layout.showRun, c.run);
        if (c.run) {
            EXPECT_EQ(layout.runX, layout.labelX);
            EXPECT_EQ(layout.runY, 720 - 75);
            // "RUN!" ends well before the right edge.
            EXPECT_LT(layout.runX + 4 * kRunSize, 1280 - 20);
        }
        // The label ends inside the window whatever its band.
        EXPECT_LE(layout.labelX + c.size * static_cast<int>(layout.label.size()), 1280 - 10);
    }

    // Another window size moves the label with the upper-right corner.
    HudLayout small = layoutHud(25, 640, 360);
    EXPECT_EQ(small.labelX, 640 - 45 - 10);
    EXPECT_EQ(small.labelY, 325);
}

} // namespace
} // namespace ruma
