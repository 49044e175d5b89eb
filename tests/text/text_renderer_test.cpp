// Bitmap text drawn into an off-screen target with a font whose colours tell
// its cells apart (the HUD's pictures are checked against references by the
// end-to-end runs).
#include "text/text_renderer.h"

#include "support/gl_context.h"
#include "support/gl_pixels.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace ruma {
namespace {

using test::Rgba;

// Cell colours of the plain font tell the cell apart: red = column, green = row from the top.
Rgba plainCell(int column, int row) { return {column * 16 + 8, row * 16 + 8, 200}; }
// The dark fonts and overlays the renderer loads too.
const Rgba kDarkFont[3] = {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
const Rgba kOverlay[3] = {{255, 0, 0, 128}, {0, 255, 0, 128}, {0, 0, 255, 128}};

class TextRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        test::writeImage("Resources/Fonts/segeo.png", 256, 256,
                         [](int x, int y) { return plainCell(x / 16, (255 - y) / 16); }, 32);
        const char* bands[3] = {"close", "normal", "far"};
        const char* overlays[3] = {"CLOSE", "NORMAL", "FAR"};
        for (int band = 0; band < 3; ++band) {
            test::writeImage(std::string("Resources/Fonts/segeodark") + bands[band] + ".png", 64, 64,
                             [band](int, int) { return kDarkFont[band]; }, 32);
            test::writeImage(std::string("Resources/Images/ui") + overlays[band] + ".png", 32, 18,
                             [band](int, int) { return kOverlay[band]; }, 32);
        }
        std::filesystem::create_directory_symlink(test::sourceDir() + "/Resources/Shader", "Resources/Shader");
        text = new TextRenderer();
        target = std::make_unique<test::OffscreenTarget>(1280, 720);
        target->bindAndClear();
        glDisable(GL_DEPTH_TEST);   // as the frame composition does before the HUD
    }

    void TearDown() override
    {
        if (!text) return;
        text->release();
        delete text;
        target.reset();
        glEnable(GL_DEPTH_TEST);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    test::InScratchDirectory here{"text"};
    std::unique_ptr<test::OffscreenTarget> target;
    TextRenderer* text = nullptr;
};

TEST_F(TextRendererTest, GlyphsShowTheirOwnAtlasCellsAndAnEmptyStringNothing)
{
    text->drawText(true, "", 20, 30, 15, 1280, 720);
    test::expectCleanGlState();
    const std::vector<unsigned char> blank = target->read();
    EXPECT_EQ(std::count(blank.begin(), blank.end(), 0), std::ptrdiff_t(blank.size()));

    // "A" is column 1, row 4; "z" column 10, row 7; "?" and any byte from 128 up column 15, row 3.
    const char glyphs[] = {'A', 'z', '?', static_cast<char>(200), 0};
    text->drawText(true, glyphs, 100, 200, 48, 1280, 720);
    test::expectCleanGlState();
    const int cells[4][2] = {{1, 4}, {10, 7}, {15, 3}, {15, 3}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(test::colourNear(target->at(100 + 48 * i + 24, 224), plainCell(cells[i][0], cells[i][1]), 2))
            << "glyph " << i;
}

} // namespace
} // namespace ruma
