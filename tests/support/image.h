// Pictures in tests: loading saved screenshots and measuring them.
#pragma once

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

struct Colour {
    double r = 0, g = 0, b = 0;
};
// Mean colour of the rectangle [x0, x1) x [y0, y1) (top-left origin).
Colour meanColour(const Image& image, int x0, int y0, int x1, int y1);
// Fraction of pixels differing by more than tolerance in any channel.
double fractionDifferent(const Image& a, const Image& b, int tolerance);
// Number of distinct colours, counted on a coarse grid (a blank picture has one).
int distinctColours(const Image& image, int step = 8);

} // namespace ruma::test
