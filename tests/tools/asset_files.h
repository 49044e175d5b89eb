// Reading the generated assets back the way the game will: FreeImage for
// images, libsndfile for sounds.
#pragma once

#include <FreeImage.h>

#include <string>
#include <vector>

namespace ruma::test {

std::string resourcePath(const std::string& relative);   // under the committed Resources/

// An image as the game's texture loader sees it: bottom row first.
struct LoadedImage {
    FREE_IMAGE_FORMAT type = FIF_UNKNOWN;
    unsigned width = 0, height = 0, bpp = 0;
    std::vector<unsigned char> rgba;   // 4 bytes a pixel, alpha 255 without an alpha channel

    // Pixel (x, y) with y counted from the top of the picture.
    const unsigned char* fromTop(unsigned x, unsigned y) const { return &rgba[((height - 1 - y) * width + x) * 4]; }
};
LoadedImage loadImage(const std::string& path);

struct LoadedSound {
    bool opened = false;
    int sampleRate = 0, channels = 0, format = 0;
    std::vector<float> samples;
    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0.0; }
};
LoadedSound loadSound(const std::string& path);

} // namespace ruma::test
