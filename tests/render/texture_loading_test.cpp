// Textures: alpha decides the format and is kept, even from a palette; rows go
// up as GL counts them (the failures are the bad-input suite's).
#include "render/gl.h"
#include "render/texture.h"
#include "support/gl_context.h"
#include "support/image.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <fstream>

namespace ruma {
namespace {

using test::Rgba;

class TextureLoading : public ::testing::Test {
protected:
    void SetUp() override { TOVIK3D_REQUIRE_GL(); }
    void TearDown() override { deleteTexture(texture); }

    // Loads the file as the game does and reads it back, bottom row first;
    // format is GL_RGB or GL_RGBA: the texture must have alpha bits exactly
    // when it is GL_RGBA.
    std::vector<unsigned char> load(const std::string& file, int width, int height, GLenum format)
    {
        texture = new Texture(dir.file(file));
        GLint bound = 0, alphaBits = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        EXPECT_EQ(static_cast<GLuint>(bound), texture->handle);
        EXPECT_EQ(alphaBits > 0, format == GL_RGBA) << file;
        return test::readTexture(texture->handle, width, height, format);
    }

    test::ScratchDir dir{"texture"};
    Texture* texture = nullptr;
};

TEST_F(TextureLoading, AlphaDecidesTheFormatAndIsKeptAndATopLeftTargaLoadsTheRightWayUp)
{
    // A PNG with alpha keeps it.
    ASSERT_TRUE(test::writeImage(dir.file("glass.png"), 8, 8,
                                 [](int x, int) { return Rgba{10, 20, 250, x < 4 ? 64 : 255}; }, 32));
    auto glass = load("glass.png", 8, 8, GL_RGBA);
    EXPECT_EQ(std::vector<unsigned char>(glass.begin(), glass.begin() + 4), (std::vector<unsigned char>{10, 20, 250, 64}));
    EXPECT_EQ(glass[7 * 4 + 3], 255);
    deleteTexture(texture);

    // A palette with a transparency table (what image tools write for few
    // colours) reports no alpha channel until it is made 32-bit: it must not
    // lose its transparency.
    FIBITMAP* bitmap = FreeImage_Allocate(4, 4, 8);
    RGBQUAD* palette = FreeImage_GetPalette(bitmap);
    palette[0] = {0, 0, 0, 0};
    palette[1] = {0, 255, 0, 0};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            BYTE index = static_cast<BYTE>(x >= 2);
            FreeImage_SetPixelIndex(bitmap, x, y, &index);
        }
    BYTE table[2] = {0, 255};
    FreeImage_SetTransparencyTable(bitmap, table, 2);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, dir.file("palette.png").c_str(), 0));
    FreeImage_Unload(bitmap);
    auto palettePixels = load("palette.png", 4, 4, GL_RGBA);
    EXPECT_EQ(palettePixels[3], 0);            // index 0: transparent
    EXPECT_EQ(palettePixels[2 * 4 + 1], 255);  // index 1: green
    EXPECT_EQ(palettePixels[2 * 4 + 3], 255);  // and opaque
    deleteTexture(texture);

    // A 2 x 2 TGA stored top row first (descriptor bit 5), as the cat's texture is:
    // red on top, blue below.
    const unsigned char file[18 + 12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0x20,
                                         0, 0, 255, 0, 0, 255,    // top row, BGR red
                                         255, 0, 0, 255, 0, 0};   // bottom row, BGR blue
    std::ofstream(dir.file("topleft.tga"), std::ios::binary).write(reinterpret_cast<const char*>(file), sizeof file);
    auto pixels = load("topleft.tga", 2, 2, GL_RGB);
    // GL's first row is the bottom of the picture.
    EXPECT_EQ(std::vector<unsigned char>(pixels.begin(), pixels.begin() + 3), (std::vector<unsigned char>{0, 0, 255}));
    EXPECT_EQ(std::vector<unsigned char>(pixels.begin() + 6, pixels.begin() + 9), (std::vector<unsigned char>{255, 0, 0}));
}

} // namespace
} // namespace ruma
