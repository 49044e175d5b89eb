// Textures: the image type comes from the contents, alpha decides the format,
// rows go up as FreeImage holds them, and the two failures are fatal.
#include "render/gl.h"
#include "render/render_settings.h"
#include "render/texture.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace ruma {
namespace {

using Pixel = std::function<void(int x, int y, BYTE* bgra)>;

// Writes a width x height image; y counts from the bottom row.
void writeImage(const std::string& path, FREE_IMAGE_FORMAT format, int width, int height, int bpp,
                const Pixel& pixel, int flags = 0)
{
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bpp);
    int step = bpp / 8;
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            BYTE bgra[4] = {0, 0, 0, 255};
            pixel(x, y, bgra);
            for (int c = 0; c < step; ++c) row[x * step + c] = bgra[c];
        }
    }
    ASSERT_TRUE(FreeImage_Save(format, bitmap, path.c_str(), flags));
    FreeImage_Unload(bitmap);
}

GLint boundInternalFormat()
{
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    return format;
}

std::vector<unsigned char> readBack(int width, int height, GLenum format, int channels)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
}

class TextureLoading : public ::testing::Test {
protected:
    void SetUp() override { TOVIK3D_REQUIRE_GL(); }
    test::ScratchDir dir{"texture"};
};

TEST_F(TextureLoading, AJpegNamedPngLoadsAsAJpegWithoutAlpha)
{
    std::string path = dir.file("photo.png");
    writeImage(path, FIF_JPEG, 16, 16, 24, [](int, int, BYTE* p) {
        p[FI_RGBA_RED] = 200;
        p[FI_RGBA_GREEN] = 40;
        p[FI_RGBA_BLUE] = 30;
    });
    auto* texture = new Texture(path);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture->handle);
    EXPECT_EQ(boundInternalFormat(), GL_RGB);
    auto pixels = readBack(16, 16, GL_RGB, 3);
    EXPECT_NEAR(pixels[0], 200, 8);
    EXPECT_NEAR(pixels[1], 40, 8);
    EXPECT_NEAR(pixels[2], 30, 8);
    deleteTexture(texture);
}

TEST_F(TextureLoading, APngWithAlphaUploadsAsRgba)
{
    std::string path = dir.file("glass.png");
    writeImage(path, FIF_PNG, 8, 8, 32, [](int x, int, BYTE* p) {
        p[FI_RGBA_RED] = 10;
        p[FI_RGBA_GREEN] = 20;
        p[FI_RGBA_BLUE] = 250;
        p[FI_RGBA_ALPHA] = x < 4 ? 64 : 255;
    });
    auto* texture = new Texture(path);
    EXPECT_EQ(boundInternalFormat(), GL_RGBA);
    auto pixels = readBack(8, 8, GL_RGBA, 4);
    EXPECT_EQ(pixels[0], 10);
    EXPECT_EQ(pixels[2], 250);
    EXPECT_EQ(pixels[3], 64);
    EXPECT_EQ(pixels[7 * 4 + 3], 255);
    GLint minFilter = 0, wrapS = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(wrapS, GL_REPEAT);
    deleteTexture(texture);
}

TEST_F(TextureLoading, RowsWhoseBytesAreNotAMultipleOfFourArriveIntact)
{
    // 5 pixels of 3 bytes: 15 bytes a row, padded to 16 by FreeImage and by GL.
    std::string path = dir.file("odd.png");
    auto colour = [](int x, int y, BYTE* p) {
        p[FI_RGBA_RED] = static_cast<BYTE>(x * 50);
        p[FI_RGBA_GREEN] = static_cast<BYTE>(y * 80);
        p[FI_RGBA_BLUE] = static_cast<BYTE>(7 + x + y);
    };
    writeImage(path, FIF_PNG, 5, 3, 24, colour);
    auto* texture = new Texture(path);
    auto pixels = readBack(5, 3, GL_RGB, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            BYTE expected[4];
            colour(x, y, expected);
            const unsigned char* got = &pixels[(y * 5 + x) * 3];
            EXPECT_EQ(got[0], expected[FI_RGBA_RED]) << x << "," << y;
            EXPECT_EQ(got[1], expected[FI_RGBA_GREEN]) << x << "," << y;
            EXPECT_EQ(got[2], expected[FI_RGBA_BLUE]) << x << "," << y;
        }
    deleteTexture(texture);
}

TEST_F(TextureLoading, APaletteWithTransparencyKeepsItsTransparency)
{
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
    std::string path = dir.file("palette.png");
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0));
    FreeImage_Unload(bitmap);

    auto* texture = new Texture(path);
    EXPECT_EQ(boundInternalFormat(), GL_RGBA);
    auto pixels = readBack(4, 4, GL_RGBA, 4);
    EXPECT_EQ(pixels[3], 0);                // index 0: transparent
    EXPECT_EQ(pixels[2 * 4 + 3], 255);      // index 1: opaque green
    EXPECT_EQ(pixels[2 * 4 + 1], 255);
    deleteTexture(texture);
}

TEST_F(TextureLoading, ATopLeftTargaLoadsTheRightWayUp)
{
    // A 2 x 2 TGA stored top row first (descriptor bit 5): red on top, blue below.
    unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0x20};
    unsigned char rows[12] = {0, 0, 255, 0, 0, 255,    // top row, BGR red
                              255, 0, 0, 255, 0, 0};   // bottom row, BGR blue
    std::string path = dir.file("topleft.tga");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<char*>(header), sizeof header)
        .write(reinterpret_cast<char*>(rows), sizeof rows);
    auto* texture = new Texture(path);
    auto pixels = readBack(2, 2, GL_RGB, 3);
    // GL's first row is the bottom of the picture.
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[2], 255);
    EXPECT_EQ(pixels[6], 255);
    EXPECT_EQ(pixels[8], 0);
    deleteTexture(texture);
}

TEST_F(TextureLoading, FilterSettingsFollowTheTable)
{
    writeImage(dir.file("f.png"), FIF_PNG, 4, 4, 24, [](int, int, BYTE*) {});
    auto* texture = new Texture(dir.file("f.png"));
    struct Row {
        int sampling, mipmap;
        GLint min, mag;
    };
    const Row rows[] = {
        {0, 0, GL_NEAREST, GL_NEAREST},
        {0, 1, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
        {0, 2, GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},
        {1, 0, GL_LINEAR, GL_LINEAR},
        {1, 1, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
        {1, 2, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
    };
    for (const Row& row : rows) {
        textureSampling = row.sampling;
        mipmapQuality = row.mipmap;
        applyTextureFilterSetting();
        GLint min = 0, mag = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        EXPECT_EQ(min, row.min) << row.sampling << row.mipmap;
        EXPECT_EQ(mag, row.mag) << row.sampling << row.mipmap;
    }
    // Values outside the table leave both filters alone.
    textureSampling = 7;
    applyTextureFilterSetting();
    GLint min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(min, GL_LINEAR_MIPMAP_LINEAR);
    resetRenderSettings();
    deleteTexture(texture);
    EXPECT_EQ(test::drainGlErrors(), 0);
}

TEST(TextureFailures, AMissingFileIsAnUnknownType)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    test::ScratchDir dir("texture-fail");
    auto result = test::runProcess({TOVIK3D_PROBE, "texture", dir.file("nothing.png")});
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.out, "Texture - unknown image type:" + dir.file("nothing.png") + "\n");
}

TEST(TextureFailures, ARecognisedButBrokenFileFailsToLoad)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    test::ScratchDir dir("texture-broken");
    // A PNG signature followed by nonsense: recognised, not decodable.
    dir.write("broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\x42'));
    auto result = test::runProcess({TOVIK3D_PROBE, "texture", dir.file("broken.png")});
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.out, "Failed to load texture:" + dir.file("broken.png") + "\n");
}

} // namespace
} // namespace ruma
