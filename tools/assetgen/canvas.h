// A small anti-aliased painter for the generated pictures, textures, overlays
// and video frames. Shapes are signed distance functions in "design" units;
// a view maps design units to pixels, so one drawing can be painted at any
// size or aspect (the cat's face goes both into its texture and its video).
#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

// Straight (not premultiplied) colour, every channel 0..1.
struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color rgb(int hex, float alpha = 1.0f);
Color mix(const Color& a, const Color& b, float t);
Color withAlpha(Color c, float alpha);
Color scaled(Color c, float factor);   // darker below 1, lighter above

// A region: signed distance (negative inside) and the design-space box outside
// of which the distance is certainly positive.
struct Shape {
    std::function<float(glm::vec2)> distance;
    glm::vec2 lo{0.0f};
    glm::vec2 hi{0.0f};
};

Shape circle(glm::vec2 centre, float radius);
Shape ellipse(glm::vec2 centre, glm::vec2 radii);
Shape roundedBox(glm::vec2 lo, glm::vec2 hi, float radius);
Shape capsule(glm::vec2 a, glm::vec2 b, float radius);
Shape polygon(std::vector<glm::vec2> points);
Shape unite(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);
Shape intersect(const Shape& a, const Shape& b);
Shape outline(const Shape& s, float halfWidth);   // a band along the border
Shape rotated(const Shape& s, glm::vec2 pivot, float radians);
// A thick polyline through points (joined capsules).
Shape stroke(const std::vector<glm::vec2>& points, float radius);
// Points along a quadratic Bezier curve.
std::vector<glm::vec2> bezier(glm::vec2 a, glm::vec2 control, glm::vec2 b, int segments = 16);

using Paint = std::function<Color(glm::vec2)>;
Paint solid(Color c);
Paint linear(glm::vec2 from, Color a, glm::vec2 to, Color b);
Paint radial(glm::vec2 centre, float radius, Color inner, Color outer);

// A coverage mask in pixels (row 0 at the top), used for text and soft effects.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> value;
    Mask() = default;
    Mask(int w, int h) : width(w), height(h), value(static_cast<size_t>(w) * h, 0.0f) {}
    float at(int x, int y) const;
    Mask dilated(float radius) const;
    Mask blurred(int radius) const;
};

class Canvas {
public:
    Canvas(int width, int height, Color fill = {0, 0, 0, 0});

    int width() const { return width_; }
    int height() const { return height_; }
    Color& pixel(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Color& pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // pixel = design * scale + offset; the default view is the identity.
    void setView(glm::vec2 scale, glm::vec2 offset);
    // Maps u, v in [0, 1] to the whole image with v = 0 at the bottom row, as
    // the game's models sample their textures.
    void setUvView();
    glm::vec2 toPixel(glm::vec2 design) const;
    glm::vec2 toDesign(glm::vec2 pixel) const;

    void blend(int x, int y, const Color& c, float coverage);
    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, const Color& c) { fill(shape, solid(c)); }
    // Every pixel: colour from a function of its design position, blended over.
    void fillAll(const Paint& paint);
    // A mask placed with its top-left corner at pixel (x, y).
    void fillMask(const Mask& mask, int x, int y, const Paint& paint);

    // Resampled copy (box filter when shrinking, bilinear when growing).
    Canvas resized(int width, int height) const;

private:
    int width_, height_;
    std::vector<Color> pixels_;
    glm::vec2 scale_{1.0f}, offset_{0.0f};
};

// Text set with FreeType from the DejaVu fonts of the system.
enum class Typeface { Regular, Bold };
std::string fontPath(Typeface face);

struct TextBlock {
    Mask mask;
    int baseline = 0;     // row of the baseline inside the mask
    int left = 0;         // pen start inside the mask
    int advance = 0;      // total advance in pixels
};

// One rendered glyph: its coverage, where its top-left pixel lies relative to
// the pen on the baseline (x right, y up), and the pen advance.
struct Glyph {
    Mask mask;
    int left = 0, top = 0;
    float advance = 0.0f;
};
Glyph renderGlyph(unsigned char ch, Typeface face, float pixelSize);

// The exact extent of a glyph's outline at a pixel size, unhinted: x right and
// y up from the pen on the baseline.
struct GlyphBox {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float advance = 0;
};
GlyphBox glyphBox(unsigned char ch, Typeface face, float pixelSize);

// An unhinted glyph, its outline scaled by `scale` about the pen and then moved
// by `shift` pixels (x right, y up); placement as in renderGlyph.
Glyph renderGlyph(unsigned char ch, Typeface face, float pixelSize, glm::vec2 scale, glm::vec2 shift);

// Renders one line at a pixel size; margin leaves room for outlines.
TextBlock renderText(const std::string& text, Typeface face, float pixelSize, int margin = 0);

enum class Align { Left, Centre, Right };
struct TextStyle {
    Typeface face = Typeface::Regular;
    float size = 24.0f;
    Color color = {1, 1, 1, 1};
    Align align = Align::Left;
    float outline = 0.0f;           // pixels of a dark rim around the glyphs
    Color outlineColor = {0, 0, 0, 1};
    int shadow = 0;                 // pixels of soft drop shadow offset
};
// Draws a line of text with its baseline at pixel row y; x is the left edge,
// centre or right edge by the alignment. Returns the advance width.
int drawText(Canvas& canvas, const std::string& text, float x, float y, const TextStyle& style);

// Hash-based noise in [0, 1], the same on every run.
float hashNoise(int x, int y, int seed);
float valueNoise(glm::vec2 p, int seed);   // smooth, period-free
float fractalNoise(glm::vec2 p, int seed, int octaves = 4);

} // namespace assetgen
