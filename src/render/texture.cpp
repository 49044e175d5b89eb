#include "render/texture.h"

#include "platform/fatal.h"
#include "platform/load_ahead.h"
#include "render/render_settings.h"

#include <FreeImage.h>

#include <algorithm>
#include <iostream>
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

// One level of a texture, rows tightly packed, bottom row first.
struct Level {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> bytes;
};

// Where one texel of a smaller level takes its value along one axis: the
// texels of the level above it covers, and how much of each.
struct Taps {
    unsigned first = 0;
    unsigned count = 0;
    float weights[4] = {0, 0, 0, 0};
};

std::vector<Taps> tapsAlong(unsigned from, unsigned to)
{
    std::vector<Taps> taps(to);
    const double span = double(from) / double(to);
    for (unsigned i = 0; i < to; ++i) {
        const double begin = i * span, end = (i + 1) * span;
        Taps& t = taps[i];
        t.first = static_cast<unsigned>(begin);
        for (unsigned texel = t.first; texel < from && texel < end && t.count < 4; ++texel, ++t.count) {
            const double covered = std::min(end, texel + 1.0) - std::max(begin, double(texel));
            t.weights[t.count] = static_cast<float>(covered / span);
        }
    }
    return taps;
}

// The level below one of width x height texels (rows `pitch` bytes apart),
// half its size (rounded down, at least 1): each texel the mean of the
// texels above that it covers. Halving an even size averages pairs, rounding
// halves up, then the two pairs: the driver's own generation gives these
// very bytes.
template <unsigned channels>
Level halfLevel(const unsigned char* above, size_t pitch, unsigned width, unsigned height)
{
    Level level;
    level.width = std::max(1u, width / 2);
    level.height = std::max(1u, height / 2);
    level.bytes.resize(static_cast<size_t>(level.width) * level.height * channels);
    unsigned char* out = level.bytes.data();
    if (width % 2 == 0 && height % 2 == 0) {
        for (unsigned y = 0; y < level.height; ++y) {
            const unsigned char* top = above + 2 * y * pitch;
            const unsigned char* bottom = top + pitch;
            for (unsigned x = 0; x < level.width; ++x, top += 2 * channels, bottom += 2 * channels)
                for (unsigned c = 0; c < channels; ++c) {
                    const unsigned upper = (top[c] + top[c + channels] + 1u) / 2u;
                    const unsigned lower = (bottom[c] + bottom[c + channels] + 1u) / 2u;
                    *out++ = static_cast<unsigned char>((upper + lower + 1u) / 2u);
                }
        }
        return level;
    }
    const std::vector<Taps> across = tapsAlong(width, level.width);
    const std::vector<Taps> down = tapsAlong(height, level.height);
    for (unsigned y = 0; y < level.height; ++y)
        for (unsigned x = 0; x < level.width; ++x)
            for (unsigned c = 0; c < channels; ++c) {
                float sum = 0.0f;
                for (unsigned j = 0; j < down[y].count; ++j)
                    for (unsigned i = 0; i < across[x].count; ++i)
                        sum += down[y].weights[j] * across[x].weights[i] *
                               static_cast<float>(above[(down[y].first + j) * pitch + (across[x].first + i) * channels + c]);
                *out++ = static_cast<unsigned char>(std::min(255.0f, sum + 0.5f));
            }
    return level;
}

// Levels 1 and on of the image, down to 1 x 1. The driver's own generation
// first builds a blit program per pixel format, which costs start-up more
// than the levels of every texture together; built here, they are made on
// the loading thread.
template <unsigned channels>
std::vector<Level> smallerLevelsOf(FIBITMAP* image)
{
    std::vector<Level> levels;
    const unsigned char* above = FreeImage_GetBits(image);
    size_t pitch = FreeImage_GetPitch(image);
    unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
    while (width > 1 || height > 1) {
        Level next = halfLevel<channels>(above, pitch, width, height);
        levels.push_back(std::move(next));
        above = levels.back().bytes.data();
        width = levels.back().width;
        height = levels.back().height;
        pitch = static_cast<size_t>(width) * channels;
    }
    return levels;
}

std::vector<Level> smallerLevels(FIBITMAP* image, unsigned channels)
{
    return channels == 4 ? smallerLevelsOf<4>(image) : smallerLevelsOf<3>(image);
}

unsigned channelsOf(FIBITMAP* image) { return FreeImage_GetBPP(image) == 32 ? 4 : 3; }

// An image file as the texture takes it: its pixels and its smaller levels.
struct ImageForTexture {
    FIBITMAP* image = nullptr;
    std::vector<Level> levels;
    ImageForTexture() = default;
    ImageForTexture(const ImageForTexture&) = delete;
    ImageForTexture& operator=(const ImageForTexture&) = delete;
    ~ImageForTexture()
    {
        if (image) FreeImage_Unload(image);
    }
};

} // namespace

LoadAhead::Result readImageAhead(const std::string& path, size_t& bytes)
{
    auto read = std::make_shared<ImageForTexture>();
    if (readImagePixels(path, read->image) != ImageRead::Read) return nullptr;
    read->levels = smallerLevels(read->image, channelsOf(read->image));
    bytes = static_cast<size_t>(FreeImage_GetPitch(read->image)) * FreeImage_GetHeight(read->image);
    for (const Level& level : read->levels) bytes += level.bytes.size();
    return read;
}

bool allowTextureStorage = true;

bool textureStorageAvailable()
{
    return allowTextureStorage && (GLEW_VERSION_4_2 || GLEW_ARB_texture_storage);
}

Texture::Texture(const std::string& path)
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

    const GLsizei width = static_cast<GLsizei>(FreeImage_GetWidth(image));
    const GLsizei height = static_cast<GLsizei>(FreeImage_GetHeight(image));
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width > largest || height > largest) {
        std::cout << "Texture " << path << " is " << width << " x " << height << " pixels, more than this GL's "
                  << largest << " a side" << std::endl;
        fatalError("Failed to load texture:" + path);
    }

    bool hasAlpha = false;
    if (FIBITMAP* alpha = FreeImage_GetChannel(image, FICC_ALPHA)) {
        hasAlpha = true;
        FreeImage_Unload(alpha);
    }
    GLint internalFormat = hasAlpha ? GL_RGBA : GL_RGB;
    GLenum pixelFormat = hasAlpha ? GL_BGRA : GL_BGR;
    // Levels built ahead assumed 32 bits meant alpha, as it does for every converted image.
    if (read->levels.empty() || channelsOf(image) != (hasAlpha ? 4u : 3u))
        read->levels = smallerLevels(image, hasAlpha ? 4 : 3);

    // FreeImage rows are bottom first and padded to 4 bytes, which is GL's
    // first row and default unpack alignment: upload as is. The smaller
    // levels are packed tight.
    if (textureStorageAvailable()) {
        // Every level in one allocation: levels given one by one have the
        // driver copy the whole texture as it grows.
        glTexStorage2D(GL_TEXTURE_2D, static_cast<GLsizei>(read->levels.size() + 1), hasAlpha ? GL_RGBA8 : GL_RGB8,
                       width, height);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, pixelFormat, GL_UNSIGNED_BYTE,
                        FreeImage_GetBits(image));
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, pixelFormat, GL_UNSIGNED_BYTE,
                     FreeImage_GetBits(image));
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t index = 0; index < read->levels.size(); ++index) {
        const Level& level = read->levels[index];
        const GLint number = static_cast<GLint>(index + 1);
        const GLsizei w = static_cast<GLsizei>(level.width), h = static_cast<GLsizei>(level.height);
        if (textureStorageAvailable())
            glTexSubImage2D(GL_TEXTURE_2D, number, 0, 0, w, h, pixelFormat, GL_UNSIGNED_BYTE, level.bytes.data());
        else
            glTexImage2D(GL_TEXTURE_2D, number, internalFormat, w, h, 0, pixelFormat, GL_UNSIGNED_BYTE,
                         level.bytes.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
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
