// Bitmap text drawn off-screen with a font whose colours tell its cells apart:
// each byte shows its own atlas cell, and a byte from 128 up the cell its
// negative column and row wrap round to in the repeating font.
#include "text/text_renderer.h"

#include "support/gl_context.h"
#include "support/image.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ruma {
namespace {

using test::Rgba;

// Red tells the column, green the row from the top.
Rgba cellColour(int column, int row) { return {column * 16 + 8, row * 16 + 8, 200}; }

TEST(TextRenderer, EachByteShowsItsCellAndBytesFrom128WrapRoundTheAtlas)
{
    TOVIK3D_REQUIRE_GL();
    test::InScratchDirectory here("text");
    test::writeImage("Resources/Fonts/segeo.png", 256, 256,
                     [](int x, int y) { return cellColour(x / 16, (255 - y) / 16); }, 32);
    for (int band = 0; band < 3; ++band) {
        test::writeImage(kDarkFontFiles[band], 64, 64, [](int, int) { return Rgba{255, 255, 0}; }, 32);
        test::writeImage(kOverlayFiles[band], 32, 18, [](int, int) { return Rgba{255, 0, 0, 128}; }, 32);
    }
    std::filesystem::create_directory_symlink(test::sourceDir() + "/Resources/Shader", "Resources/Shader");
    TextRenderer* text = new TextRenderer();
    {
        test::OffscreenTarget target(640, 120);
        glDisable(GL_DEPTH_TEST);
        const char bytes[] = {'A', 'z', '?', char(200), char(128), char(255), 0};
        text->drawText(true, bytes, 10, 40, 48, 640, 120);
        glEnable(GL_DEPTH_TEST);
        const std::vector<unsigned char> rgb = target.read();
        // 200 is -56: u from -0.5, v from -0.1875, which wrap to column 8, row 13.
        const int cells[][2] = {{1, 4}, {10, 7}, {15, 3}, {8, 13}, {0, 8}, {15, 0}};
        for (int i = 0; i < 6; ++i) {
            const unsigned char* at = &rgb[(size_t(64) * 640 + 10 + 48 * i + 24) * 3];
            const Rgba expected = cellColour(cells[i][0], cells[i][1]);
            EXPECT_NEAR(at[0], expected.r, 2) << "byte " << i;
            EXPECT_NEAR(at[1], expected.g, 2) << "byte " << i;
        }
    }
    text->release();
    delete text;
    glViewport(0, 0, 1280, 720);
    EXPECT_EQ(test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma
