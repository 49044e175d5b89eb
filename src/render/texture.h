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

    // Leaves the texture bound to GL_TEXTURE_2D on unit 0. A picture that is
    // only ever drawn at its own size (full-window pictures and overlays) needs
    // no mipmaps: building them is most of its load time.
    explicit Texture(const std::string& path, bool mipmaps = true);
};

// The pixels Texture would read from path, read without GL or messages, for a
// texture made later from the same file (null when the file cannot be read).
LoadAhead::Result readImageAhead(const std::string& path, size_t& bytes);

// Deletes the GL texture, then the object; null is ignored.
void deleteTexture(Texture*& texture);

// Sets the filters of the texture bound to GL_TEXTURE_2D on the active unit
// from textureSampling and mipmapQuality.
void applyTextureFilterSetting();

} // namespace ruma
