// A 2D GL texture loaded from an image file with FreeImage (type from the
// file's contents). Any failure ends the game with a message. No destructor:
// the owner releases it with deleteTexture().
#pragma once

#include "platform/load_ahead.h"
#include "render/gl.h"

#include <string>

struct FIBITMAP;

namespace ruma {

struct Texture {
    GLuint handle = 0;
    FIBITMAP* image = nullptr;   // only while constructing

    // With every level down to 1 x 1 and trilinear filtering; leaves the
    // texture bound to GL_TEXTURE_2D on unit 0. A file larger than the GL
    // takes ends the game, as a file that cannot be read does.
    explicit Texture(const std::string& path);
};

// The pixels Texture would read from path and its smaller levels, made
// without GL or messages, for a texture made later from the same file (null
// when the file cannot be read).
LoadAhead::Result readImageAhead(const std::string& path, size_t& bytes);

// Whether a texture gets all its levels' storage in one call (GL 4.2 or
// ARB_texture_storage); without it each level is given on its own, as a 3.3
// context allows. Clearing allowTextureStorage takes that way on any driver.
extern bool allowTextureStorage;
bool textureStorageAvailable();

// Deletes the GL texture, then the object; null is ignored.
void deleteTexture(Texture*& texture);

// Sets the filters of the texture bound to GL_TEXTURE_2D on the active unit
// from textureSampling and mipmapQuality.
void applyTextureFilterSetting();

} // namespace ruma
