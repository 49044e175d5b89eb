// Pictures in tests: loading saved screenshots and measuring them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ruma::test {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;   // top row first, 3 bytes a pixel

    bool empty() const { return rgb.empty(); }
    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Loads any image FreeImage reads; empty on failure.
Image loadImage(const std::string& path);

// Fraction of pixels differing by more than tolerance in any channel.
double fractionDifferent(const Image& a, const Image& b, int tolerance);

// A pixel to write or read back from GL, 0..255 a channel.
struct Rgba {
    int r = 0, g = 0, b = 0, a = 255;
};
// Writes a picture whose pixel (x, y), y counted from the bottom row as GL
// counts it, is pixel(x, y); bpp 24 or 32. The type comes from the extension
// unless format (a FREE_IMAGE_FORMAT) is given. Creates the folder.
bool writeImage(const std::string& path, int width, int height, const std::function<Rgba(int, int)>& pixel,
                int bpp = 24, int format = -1);

} // namespace ruma::test
