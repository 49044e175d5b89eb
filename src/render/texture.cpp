#include "render/texture.h"

#include "platform/fatal.h"
#include "render/render_settings.h"

#include <FreeImage.h>

#include <algorithm>
#include <vector>

namespace ruma {

namespace {

// FreeImage needs its plugins registered once per process when linked as a
// shared library on Linux (it does so itself, but being explicit is harmless).
void ensureFreeImage()
{
    static bool initialised = false;
    if (!initialised) {
        FreeImage_Initialise(FALSE);
        initialised = true;
    }
}

bool isPowerOfTwo(unsigned n) { return n != 0 && (n & (n - 1)) == 0; }

// Uploads levels 1 and on into the texture's storage, each built from the
// 2x2 texels below it. The driver's own generation first builds a blit
// program per pixel format, which costs start-up more than the levels of every
// texture together. For square power-of-two images (all the game's own).
void uploadSmallerLevels(FIBITMAP* image, unsigned channels, GLenum pixelFormat)
{
    const unsigned width = FreeImage_GetWidth(image);
    const unsigned pitch = FreeImage_GetPitch(image);
    const unsigned char* bits = FreeImage_GetBits(image);
    std::vector<unsigned char> above(static_cast<size_t>(width) * width * channels);
    for (unsigned y = 0; y < width; ++y)
        std::copy(bits + static_cast<size_t>(y) * pitch, bits + static_cast<size_t>(y) * pitch + width * channels,
                  above.begin() + static_cast<long>(static_cast<size_t>(y) * width * channels));
    std::vector<unsigned char> level;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLint index = 0;
    for (unsigned size = width / 2; size >= 1; size /= 2) {
        const unsigned from = size * 2;
        level.resize(static_cast<size_t>(size) * size * channels);
        for (unsigned y = 0; y < size; ++y)
            for (unsigned x = 0; x < size; ++x)
                for (unsigned c = 0; c < channels; ++c) {
                    auto at = [&](unsigned yy, unsigned xx) {
                        return static_cast<unsigned>(above[(static_cast<size_t>(yy) * from + xx) * channels + c]);
                    };
                    // Each pair is averaged, rounding halves up, then the two
                    // pairs: the driver's own generation gives these very bytes.
                    const unsigned top = (at(2 * y, 2 * x) + at(2 * y, 2 * x + 1) + 1) / 2;
                    const unsigned bottom = (at(2 * y + 1, 2 * x) + at(2 * y + 1, 2 * x + 1) + 1) / 2;
                    level[(static_cast<size_t>(y) * size + x) * channels + c] =
                        static_cast<unsigned char>((top + bottom + 1) / 2);
                }
        glTexSubImage2D(GL_TEXTURE_2D, ++index, 0, 0, static_cast<GLsizei>(size), static_cast<GLsizei>(size),
                        pixelFormat, GL_UNSIGNED_BYTE, level.data());
        above.swap(level);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

GLsizei levelCount(unsigned size)
{
    GLsizei levels = 1;
    for (; size > 1; size /= 2) ++levels;
    return levels;
}

} // namespace

Texture::Texture(const std::string& path, bool mipmaps)
{
    ensureFreeImage();
    glGenTextures(1, &handle);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, handle);

    FREE_IMAGE_FORMAT type = FreeImage_GetFileType(path.c_str(), 0);
    if (type == FIF_UNKNOWN) fatalError("Texture - unknown image type:" + path);

    image = FreeImage_Load(type, path.c_str(), 0);
    if (!image) fatalError("Failed to load texture:" + path);

    // The upload handles 24-bit (no alpha) and 32-bit (alpha) pixels only;
    // palettised, grey and 16-bit images are converted first: to 32 bits when
    // they carry transparency (a palette with a transparency table reports no
    // alpha channel until converted), else to 24 bits.
    unsigned bpp = FreeImage_GetBPP(image);
    if (FreeImage_GetImageType(image) != FIT_BITMAP || (bpp != 24 && bpp != 32)) {
        bool transparent = FreeImage_IsTransparent(image) ||
                           FreeImage_GetImageType(image) == FIT_RGBA16 ||
                           FreeImage_GetImageType(image) == FIT_RGBAF;
        FIBITMAP* converted = transparent ? FreeImage_ConvertTo32Bits(image)
                                          : FreeImage_ConvertTo24Bits(image);
        FreeImage_Unload(image);
        image = converted;
        if (!image) fatalError("Failed to load texture:" + path);
    }

    bool hasAlpha = false;
    if (FIBITMAP* alpha = FreeImage_GetChannel(image, FICC_ALPHA)) {
        hasAlpha = true;
        FreeImage_Unload(alpha);
    }
    GLint internalFormat = hasAlpha ? GL_RGBA : GL_RGB;
    GLenum pixelFormat = hasAlpha ? GL_BGRA : GL_BGR;

    // FreeImage rows are bottom first and padded to 4 bytes, which is GL's
    // first row and default unpack alignment: upload as is.
    const unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
    if (mipmaps && width == height && isPowerOfTwo(width)) {
        // Every level in one allocation: levels given one by one would have
        // the driver copy the whole texture as it grows.
        glTexStorage2D(GL_TEXTURE_2D, levelCount(width), hasAlpha ? GL_RGBA8 : GL_RGB8, static_cast<GLsizei>(width),
                       static_cast<GLsizei>(height));
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height),
                        pixelFormat, GL_UNSIGNED_BYTE, FreeImage_GetBits(image));
        uploadSmallerLevels(image, hasAlpha ? 4 : 3, pixelFormat);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                     pixelFormat, GL_UNSIGNED_BYTE, FreeImage_GetBits(image));
        if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    FreeImage_Unload(image);
    image = nullptr;
}

void deleteTexture(Texture*& texture)
{
    if (!texture) return;
    glDeleteTextures(1, &texture->handle);
    delete texture;
    texture = nullptr;
}

void applyTextureFilterSetting()
{
    static const GLint minFilters[2][3] = {
        {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
        {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR},
    };
    if (textureSampling < 0 || textureSampling > 1 || mipmapQuality < 0 || mipmapQuality > 2) return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilters[textureSampling][mipmapQuality]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, textureSampling == 0 ? GL_NEAREST : GL_LINEAR);
}

} // namespace ruma
