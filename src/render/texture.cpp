#include "render/texture.h"

#include "platform/fatal.h"
#include "platform/load_ahead.h"
#include "render/render_settings.h"

#include <FreeImage.h>

#include <algorithm>
#include <vector>

namespace ruma {

namespace {

// FreeImage needs its plugins registered once per process when linked as a
// shared library on Linux (it does so itself, but being explicit is harmless).
// A function's static is made once even when the loading thread asks first.
void ensureFreeImage()
{
    static const bool initialised = (FreeImage_Initialise(FALSE), true);
    (void)initialised;
}

enum class ImageRead { Read, UnknownType, Failed };

// The file's pixels as the upload wants them. The upload handles 24-bit (no
// alpha) and 32-bit (alpha) pixels only; palettised, grey and 16-bit images
// are converted first: to 32 bits when they carry transparency (a palette with
// a transparency table reports no alpha channel until converted), else to 24.
ImageRead readImagePixels(const std::string& path, FIBITMAP*& image)
{
    ensureFreeImage();
    image = nullptr;
    FREE_IMAGE_FORMAT type = FreeImage_GetFileType(path.c_str(), 0);
    if (type == FIF_UNKNOWN) return ImageRead::UnknownType;
    image = FreeImage_Load(type, path.c_str(), 0);
    if (!image) return ImageRead::Failed;
    unsigned bpp = FreeImage_GetBPP(image);
    if (FreeImage_GetImageType(image) != FIT_BITMAP || (bpp != 24 && bpp != 32)) {
        bool transparent = FreeImage_IsTransparent(image) ||
                           FreeImage_GetImageType(image) == FIT_RGBA16 ||
                           FreeImage_GetImageType(image) == FIT_RGBAF;
        FIBITMAP* converted = transparent ? FreeImage_ConvertTo32Bits(image)
                                          : FreeImage_ConvertTo24Bits(image);
        FreeImage_Unload(image);
        image = converted;
        if (!image) return ImageRead::Failed;
    }
    return ImageRead::Read;
}

bool isPowerOfTwo(unsigned n) { return n != 0 && (n & (n - 1)) == 0; }

// Levels 1 and on of a square power-of-two image, each built from the 2x2
// texels below it. The driver's own generation first builds a blit program
// per pixel format, which costs start-up more than the levels of every
// texture together.
std::vector<std::vector<unsigned char>> smallerLevels(FIBITMAP* image, unsigned channels)
{
    const unsigned width = FreeImage_GetWidth(image);
    const unsigned pitch = FreeImage_GetPitch(image);
    const unsigned char* bits = FreeImage_GetBits(image);
    std::vector<unsigned char> above(static_cast<size_t>(width) * width * channels);
    for (unsigned y = 0; y < width; ++y)
        std::copy(bits + static_cast<size_t>(y) * pitch, bits + static_cast<size_t>(y) * pitch + width * channels,
                  above.begin() + static_cast<long>(static_cast<size_t>(y) * width * channels));
    std::vector<std::vector<unsigned char>> levels;
    const std::vector<unsigned char>* from = &above;
    for (unsigned size = width / 2; size >= 1; size /= 2) {
        const unsigned fromSize = size * 2;
        std::vector<unsigned char> level(static_cast<size_t>(size) * size * channels);
        for (unsigned y = 0; y < size; ++y)
            for (unsigned x = 0; x < size; ++x)
                for (unsigned c = 0; c < channels; ++c) {
                    auto at = [&](unsigned yy, unsigned xx) {
                        return static_cast<unsigned>((*from)[(static_cast<size_t>(yy) * fromSize + xx) * channels + c]);
                    };
                    // Each pair is averaged, rounding halves up, then the two
                    // pairs: the driver's own generation gives these very bytes.
                    const unsigned top = (at(2 * y, 2 * x) + at(2 * y, 2 * x + 1) + 1) / 2;
                    const unsigned bottom = (at(2 * y + 1, 2 * x) + at(2 * y + 1, 2 * x + 1) + 1) / 2;
                    level[(static_cast<size_t>(y) * size + x) * channels + c] =
                        static_cast<unsigned char>((top + bottom + 1) / 2);
                }
        levels.push_back(std::move(level));
        from = &levels.back();
    }
    return levels;
}

bool isSquarePowerOfTwo(FIBITMAP* image)
{
    return FreeImage_GetWidth(image) == FreeImage_GetHeight(image) && isPowerOfTwo(FreeImage_GetWidth(image));
}

unsigned channelsOf(FIBITMAP* image) { return FreeImage_GetBPP(image) == 32 ? 4 : 3; }

// An image file as the texture takes it: its pixels, and for a square
// power-of-two image the smaller levels (built ahead while they are not yet
// known to be wanted: every such image of the game is mipmapped).
struct ImageForTexture {
    FIBITMAP* image = nullptr;
    std::vector<std::vector<unsigned char>> levels;
    ImageForTexture() = default;
    ImageForTexture(const ImageForTexture&) = delete;
    ImageForTexture& operator=(const ImageForTexture&) = delete;
    ~ImageForTexture()
    {
        if (image) FreeImage_Unload(image);
    }
};

GLsizei levelCount(unsigned size)
{
    GLsizei levels = 1;
    for (; size > 1; size /= 2) ++levels;
    return levels;
}

} // namespace

LoadAhead::Result readImageAhead(const std::string& path, size_t& bytes)
{
    auto read = std::make_shared<ImageForTexture>();
    if (readImagePixels(path, read->image) != ImageRead::Read) return nullptr;
    if (isSquarePowerOfTwo(read->image)) read->levels = smallerLevels(read->image, channelsOf(read->image));
    bytes = static_cast<size_t>(FreeImage_GetPitch(read->image)) * FreeImage_GetHeight(read->image);
    for (const std::vector<unsigned char>& level : read->levels) bytes += level.size();
    return read;
}

Texture::Texture(const std::string& path, bool mipmaps)
{
    glGenTextures(1, &handle);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, handle);

    auto read = std::static_pointer_cast<ImageForTexture>(claimLoadedAhead(path));
    if (!read) {
        read = std::make_shared<ImageForTexture>();
        ImageRead status = readImagePixels(path, read->image);
        if (status == ImageRead::UnknownType) fatalError("Texture - unknown image type:" + path);
        if (status == ImageRead::Failed) fatalError("Failed to load texture:" + path);
    }
    image = read->image;

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
    if (mipmaps && isSquarePowerOfTwo(image)) {
        // Every level in one allocation: levels given one by one would have
        // the driver copy the whole texture as it grows.
        glTexStorage2D(GL_TEXTURE_2D, levelCount(width), hasAlpha ? GL_RGBA8 : GL_RGB8, static_cast<GLsizei>(width),
                       static_cast<GLsizei>(height));
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height),
                        pixelFormat, GL_UNSIGNED_BYTE, FreeImage_GetBits(image));
        // Levels built ahead assumed 32 bits meant alpha, as it does for every converted image.
        if (read->levels.empty() || channelsOf(image) != (hasAlpha ? 4u : 3u))
            read->levels = smallerLevels(image, hasAlpha ? 4 : 3);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        unsigned size = width;
        for (size_t level = 0; level < read->levels.size(); ++level) {
            size /= 2;
            glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level + 1), 0, 0, static_cast<GLsizei>(size),
                            static_cast<GLsizei>(size), pixelFormat, GL_UNSIGNED_BYTE, read->levels[level].data());
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                     pixelFormat, GL_UNSIGNED_BYTE, FreeImage_GetBits(image));
        if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

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
