#include "render/texture.h"

#include "platform/fatal.h"
#include "render/render_settings.h"

#include <FreeImage.h>

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
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat,
                 static_cast<GLsizei>(FreeImage_GetWidth(image)),
                 static_cast<GLsizei>(FreeImage_GetHeight(image)), 0, pixelFormat,
                 GL_UNSIGNED_BYTE, FreeImage_GetBits(image));
    if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
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
