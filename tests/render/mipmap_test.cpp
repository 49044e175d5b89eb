// Every texture, the full-window pictures and overlays too, has its smaller
// levels down to 1 x 1, each the mean of what it covers of the level above,
// and the same to the byte (so drawn the same, with the same filters) whether
// the driver gives its levels one allocation or one by one (a 3.3 context
// without ARB_texture_storage).
#include "render/gl.h"
#include "render/texture.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace ruma {
namespace {

struct Level {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

Level readLevel(GLuint handle, int level)
{
    Level read;
    glBindTexture(GL_TEXTURE_2D, handle);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &read.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &read.height);
    read.rgba = test::readTexture(handle, read.width, read.height, GL_RGBA, level);
    return read;
}

// The box filter: each texel the area-weighted mean of the texels of the
// level above that its square covers.
Level boxBelow(const Level& above)
{
    Level below;
    below.width = std::max(1, above.width / 2);
    below.height = std::max(1, above.height / 2);
    const double sx = double(above.width) / below.width, sy = double(above.height) / below.height;
    for (int y = 0; y < below.height; ++y)
        for (int x = 0; x < below.width; ++x)
            for (int c = 0; c < 4; ++c) {
                double sum = 0.0;
                for (int v = int(y * sy); v < above.height && v < (y + 1) * sy; ++v)
                    for (int u = int(x * sx); u < above.width && u < (x + 1) * sx; ++u) {
                        const double wx = std::min((x + 1) * sx, u + 1.0) - std::max(x * sx, double(u));
                        const double wy = std::min((y + 1) * sy, v + 1.0) - std::max(y * sy, double(v));
                        sum += wx * wy * above.rgba[(size_t(v) * above.width + u) * 4 + c];
                    }
                below.rgba.push_back(static_cast<unsigned char>(std::lround(sum / (sx * sy))));
            }
    return below;
}

std::vector<Level> allLevels(const std::string& file, bool storage)
{
    allowTextureStorage = storage;
    Texture* texture = new Texture(file);
    allowTextureStorage = true;
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR) << file;
    std::vector<Level> levels = {readLevel(texture->handle, 0)};
    while (levels.back().width > 1 || levels.back().height > 1)
        levels.push_back(readLevel(texture->handle, int(levels.size())));
    deleteTexture(texture);
    return levels;
}

TEST(Mipmaps, EveryTextureHasBoxFilteredLevelsTheSameWithOrWithoutTextureStorage)
{
    TOVIK3D_REQUIRE_GL();
    // Square and without alpha, with alpha, a full-window picture, an overlay.
    for (const std::string file : {"Resources/Textures/tovkTex.png", "Resources/Textures/slime.png",
                                   "Resources/Images/controls.jpg", "Resources/Images/uiNORMAL.png"}) {
        const std::vector<Level> levels = allLevels(file, true);
        ASSERT_GE(levels.size(), 9u) << file;
        for (size_t level = 1; level < levels.size(); ++level) {
            const Level expected = boxBelow(levels[level - 1]);
            ASSERT_EQ(levels[level].width, expected.width) << file << " level " << level;
            ASSERT_EQ(levels[level].height, expected.height) << file << " level " << level;
            int worst = 0;
            for (size_t i = 0; i < expected.rgba.size(); ++i)
                worst = std::max(worst, std::abs(int(levels[level].rgba[i]) - int(expected.rgba[i])));
            EXPECT_LE(worst, 1) << file << " level " << level;
        }
        const std::vector<Level> oneByOne = allLevels(file, false);
        ASSERT_EQ(oneByOne.size(), levels.size()) << file;
        for (size_t level = 0; level < levels.size(); ++level)
            EXPECT_TRUE(oneByOne[level].rgba == levels[level].rgba) << file << " level " << level;
    }
    EXPECT_EQ(test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma
