// Bitmap text and the HUD drawn into an off-screen target with fonts and
// overlays whose colours tell their cells and bands apart.
#include "text/text_renderer.h"

#include "support/gl_context.h"
#include "support/gl_pixels.h"
#include "support/process.h"
#include "text/text_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace ruma {
namespace {

using test::Rgba;

// Cell colours of the plain font tell the cell apart: red = column, green = row from the top.
Rgba plainCell(int column, int row) { return {column * 16 + 8, row * 16 + 8, 200}; }
// The dark fonts and overlays are one colour each; overlays are half transparent.
const Rgba kDarkFont[3] = {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
const Rgba kOverlay[3] = {{255, 0, 0, 128}, {0, 255, 0, 128}, {0, 0, 255, 128}};

// The colour of a half-transparent overlay over the black background.
Rgba overOverlay(int band) { return {kOverlay[band].r / 2, kOverlay[band].g / 2, kOverlay[band].b / 2}; }

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

    // Neither of the renderer's vertex arrays keeps an attribute switched on.
    void expectAttributesOff()
    {
        for (GLuint vertexArray : {text->glyphQuads.vertexArray, text->overlayQuad.vertexArray}) {
            glBindVertexArray(vertexArray);
            for (GLuint attribute : {0u, 1u}) {
                GLint enabled = -1;
                glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
                EXPECT_EQ(enabled, 0) << "attribute " << attribute << " of vertex array " << vertexArray;
            }
        }
        glBindVertexArray(0);
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

TEST_F(TextRendererTest, HudDrawsTheOverlayAndLabelOfEachBand)
{
    // Pixels to look at: on the band's dark font (a glyph corner) or on the overlay alone.
    struct Probe { int x, y; bool font; };
    struct Band { int distance; int band; std::vector<Probe> probes; };
    const Band bands[] = {
        // "12m" at (1225, 685), size 15.
        {25, kBandFar, {{640, 360, false}, {1225, 685, true}, {1269, 699, true}, {1224, 690, false},
                        {1270, 690, false}, {1240, 700, false}}},
        // "4m" at (1190, 660), size 35, and "RUN!" at (1190, 645), size 15, shorter than the label.
        {9, kBandClose, {{10, 10, false}, {1190, 660, true}, {1259, 694, true}, {1190, 645, true},
                         {1249, 659, true}, {1252, 650, false}, {1190, 644, false}}},
        // "5m" at (1221, 675), size 20, and no "RUN!" below it.
        {10, kBandNormal, {{640, 360, false}, {1221, 675, true}, {1260, 694, true}, {1225, 665, false}}},
    };
    for (const Band& band : bands) {
        SCOPED_TRACE(band.distance);
        target->bindAndClear();
        text->drawHud(band.distance, 1280, 720);
        EXPECT_EQ(text->distanceBand, band.band);
        test::expectCleanGlState();
        expectAttributesOff();
        for (const Probe& probe : band.probes)
            EXPECT_TRUE(test::colourNear(target->at(probe.x, probe.y),
                                         probe.font ? kDarkFont[band.band] : overOverlay(band.band), 2))
                << "at (" << probe.x << ", " << probe.y << ")";
    }

    // Later dark text keeps the last band's font.
    text->drawText(false, "x", 0, 0, 10, 1280, 720);
    EXPECT_TRUE(test::colourNear(target->at(5, 5), kDarkFont[kBandNormal], 2));
}

} // namespace
} // namespace ruma
