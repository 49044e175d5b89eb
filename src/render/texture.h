// A 2D GL texture loaded from an image file with FreeImage (type from the
// file's contents). Any failure ends the game with a message. No destructor:
// the owner releases it with deleteTexture().
#pragma once

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

// Deletes the GL texture, then the object; null is ignored.
void deleteTexture(Texture*& texture);

// Sets the filters of the texture bound to GL_TEXTURE_2D on the active unit
// from textureSampling and mipmapQuality.
void applyTextureFilterSetting();

} // namespace ruma
