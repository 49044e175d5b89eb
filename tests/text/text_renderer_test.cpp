#include "text/text_renderer.h"

#include "support/gl_context.h"
#include "support/process.h"
#include "text/text_layout.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>

namespace ruma {
namespace {

namespace fs = std::filesystem;
using Rgba = std::array<unsigned char, 4>;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// Writes a 32-bit PNG; pixel(x, row) gives the colour with row 0 at the top.
void writePng(const std::string& path, int width, int height, const std::function<Rgba(int, int)>& pixel)
{
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 32);
    ASSERT_NE(bitmap, nullptr);
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            Rgba c = pixel(x, height - 1 - y);
            line[x * 4 + FI_RGBA_RED] = c[0];
            line[x * 4 + FI_RGBA_GREEN] = c[1];
            line[x * 4 + FI_RGBA_BLUE] = c[2];
            line[x * 4 + FI_RGBA_ALPHA] = c[3];
        }
    }
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0));
    FreeImage_Unload(bitmap);
}

// Cell colours of the plain font tell the cell apart: red = column, green = row.
Rgba plainCell(int column, int row) { return {static_cast<unsigned char>(column * 16 + 8),
                                               static_cast<unsigned char>(row * 16 + 8), 200, 255}; }
// The dark fonts and overlays are one colour each; overlays are half transparent.
const Rgba kDarkFont[3] = {{255, 255, 0, 255}, {0, 255, 255, 255}, {255, 0, 255, 255}};
const Rgba kOverlay[3] = {{255, 0, 0, 128}, {0, 255, 0, 128}, {0, 0, 255, 128}};
const Rgba kBackground = {0, 0, 0, 255};

// The expected colour of a half-transparent overlay over the black background.
Rgba overOverlay(int band)
{
    Rgba c = kOverlay[band];
    for (int i = 0; i < 3; ++i) c[i] = static_cast<unsigned char>(c[i] * 128 / 255);
    return {c[0], c[1], c[2], 255};
}

class TextRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        const char* bands[3] = {"close", "normal", "far"};
        const char* overlays[3] = {"CLOSE", "NORMAL", "FAR"};
        writePng(dir.file("Resources/Fonts/segeo.png"), 256, 256,
                 [](int x, int row) { return plainCell(x / 16, row / 16); });
        for (int band = 0; band < 3; ++band) {
            writePng(dir.file(std::string("Resources/Fonts/segeodark") + bands[band] + ".png"), 64, 64,
                     [band](int, int) { return kDarkFont[band]; });
            writePng(dir.file(std::string("Resources/Images/ui") + overlays[band] + ".png"), 32, 18,
                     [band](int, int) { return kOverlay[band]; });
        }
        fs::create_directory_symlink(fs::path(test::sourceDir()) / "Resources/Shader", dir.file("Resources/Shader"));

        previousDirectory = fs::current_path();
        fs::current_path(dir.path());
        text = new TextRenderer();
        fs::current_path(previousDirectory);

        // An off-screen target of the window's size: the hidden test window's
        // own pixels are not guaranteed to be kept.
        glGenTextures(1, &target);
        glBindTexture(GL_TEXTURE_2D, target);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, kWidth, kHeight);
        glDisable(GL_DEPTH_TEST);   // as the frame composition does before the HUD
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    void TearDown() override
    {
        if (!text) return;
        text->release();
        delete text;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &target);
        glEnable(GL_DEPTH_TEST);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    void readBack()
    {
        pixels.assign(static_cast<size_t>(kWidth) * kHeight * 4, 0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }

    // Pixel (x, y) counted from the lower-left corner, as the HUD places text.
    Rgba at(int x, int y) const
    {
        const unsigned char* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
        return {p[0], p[1], p[2], 255};
    }

    // The GL state every draw of the renderer must leave behind.
    void expectCleanState()
    {
        GLint value = -1;
        glGetIntegerv(GL_CURRENT_PROGRAM, &value);
        EXPECT_EQ(value, 0);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &value);
        EXPECT_EQ(value, 0);
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &value);
        EXPECT_EQ(value, 0);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        for (GLuint vertexArray : {text->glyphQuads.vertexArray, text->overlayQuad.vertexArray}) {
            glBindVertexArray(vertexArray);
            for (GLuint attribute : {0u, 1u}) {
                glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
                EXPECT_EQ(value, 0) << "attribute " << attribute << " of vertex array " << vertexArray;
            }
        }
        glBindVertexArray(0);
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    test::ScratchDir dir{"text"};
    fs::path previousDirectory;
    TextRenderer* text = nullptr;
    GLuint framebuffer = 0;
    GLuint target = 0;
    std::vector<unsigned char> pixels;
};

::testing::AssertionResult sameColour(Rgba actual, Rgba expected)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > 2)
            return ::testing::AssertionFailure() << "got (" << +actual[0] << ", " << +actual[1] << ", "
                                                 << +actual[2] << "), want (" << +expected[0] << ", "
                                                 << +expected[1] << ", " << +expected[2] << ")";
    return ::testing::AssertionSuccess();
}

TEST_F(TextRendererTest, EmptyStringDrawsNothingAndLeavesTheStateClean)
{
    text->drawText(true, "", 20, 30, 15, kWidth, kHeight);
    expectCleanState();
    readBack();
    for (size_t i = 0; i < pixels.size(); i += 4)
        ASSERT_TRUE(pixels[i] == 0 && pixels[i + 1] == 0 && pixels[i + 2] == 0) << "pixel " << i / 4;

    text->drawText(true, "Stats", 20, 30, 15, kWidth, kHeight);
    expectCleanState();
}

TEST_F(TextRendererTest, SevenGlyphsCoverTheirPixelsExactly)
{
    text->drawText(true, "Objects", 20, 30, 15, kWidth, kHeight);
    readBack();
    int left = kWidth, right = -1, bottom = kHeight, top = -1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (at(x, y)[2] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                bottom = std::min(bottom, y);
                top = std::max(top, y);
            }
    EXPECT_EQ(left, 20);
    EXPECT_EQ(right, 124);
    EXPECT_EQ(bottom, 30);
    EXPECT_EQ(top, 44);
}

TEST_F(TextRendererTest, GlyphsShowTheirOwnAtlasCells)
{
    const char text_[] = {'A', 'z', '?', static_cast<char>(200), 0};
    text->drawText(true, text_, 100, 200, 48, kWidth, kHeight);
    readBack();
    struct Expect { int column, row; };
    const Expect cells[] = {{1, 4}, {10, 7}, {15, 3}, {15, 3}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(sameColour(at(100 + 48 * i + 24, 200 + 24), plainCell(cells[i].column, cells[i].row)))
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
        glClear(GL_COLOR_BUFFER_BIT);
        text->drawHud(band.distance, kWidth, kHeight);
        EXPECT_EQ(text->distanceBand, band.band);
        expectCleanState();
        readBack();
        for (const Probe& probe : band.probes)
            EXPECT_TRUE(sameColour(at(probe.x, probe.y), probe.font ? kDarkFont[band.band] : overOverlay(band.band)))
                << "at (" << probe.x << ", " << probe.y << ")";
    }

    // Later dark text keeps the last band's font.
    text->drawText(false, "x", 0, 0, 10, kWidth, kHeight);
    readBack();
    EXPECT_TRUE(sameColour(at(5, 5), kDarkFont[kBandNormal]));
}

} // namespace
} // namespace ruma
