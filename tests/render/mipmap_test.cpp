// The game builds its textures' smaller levels itself: they must be the very
// bytes the driver's own generation makes, or every far wall would change.
#include "render/gl.h"
#include "render/texture.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ruma {
namespace {

std::vector<unsigned char> readLevel(GLuint handle, int level, int& width)
{
    glBindTexture(GL_TEXTURE_2D, handle);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!bytes.empty()) glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

TEST(Mipmaps, TheGamesLevelsAreTheDriversOwnToTheByte)
{
    TOVIK3D_REQUIRE_GL();
    // One texture without alpha, one with.
    for (const std::string file : {"Resources/Textures/tovkTex.png", "Resources/Textures/slime.png"}) {
        Texture* texture = new Texture(file);
        int width = 0;
        const std::vector<unsigned char> base = readLevel(texture->handle, 0, width);
        GLuint driver = 0;
        glGenTextures(1, &driver);
        glBindTexture(GL_TEXTURE_2D, driver);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, width, 0, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
        glGenerateMipmap(GL_TEXTURE_2D);
        int levels = 0;
        for (int level = 1; width > 1; ++level, ++levels) {
            int driverWidth = 0;
            const std::vector<unsigned char> expected = readLevel(driver, level, driverWidth);
            const std::vector<unsigned char> built = readLevel(texture->handle, level, width);
            ASSERT_EQ(width, driverWidth) << file << " level " << level;
            EXPECT_TRUE(built == expected) << file << " level " << level;
        }
        EXPECT_GE(levels, 8) << file;
        glDeleteTextures(1, &driver);
        deleteTexture(texture);
    }
}

} // namespace
} // namespace ruma
