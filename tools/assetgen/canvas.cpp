#include "canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace assetgen {

using glm::vec2;

Color rgb(int hex, float alpha)
{
    return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f, alpha};
}

Color mix(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color withAlpha(Color c, float alpha)
{
    c.a = alpha;
    return c;
}

Color scaled(Color c, float factor)
{
    if (factor <= 1.0f) return {c.r * factor, c.g * factor, c.b * factor, c.a};
    float t = std::min(factor - 1.0f, 1.0f);
    return {c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a};
}

// ---------------------------------------------------------------- shapes

Shape circle(vec2 centre, float radius)
{
    return {[=](vec2 p) { return glm::length(p - centre) - radius; }, centre - radius, centre + radius};
}

Shape ellipse(vec2 centre, vec2 radii)
{
    return {[=](vec2 p) {
                vec2 q = p - centre;
                float k0 = glm::length(q / radii);
                float k1 = glm::length(q / (radii * radii));
                if (k1 < 1e-9f) return -std::min(radii.x, radii.y);
                return k0 * (k0 - 1.0f) / k1;
            },
            centre - radii, centre + radii};
}

Shape roundedBox(vec2 lo, vec2 hi, float radius)
{
    vec2 centre = (lo + hi) * 0.5f;
    vec2 half = (hi - lo) * 0.5f;
    return {[=](vec2 p) {
                vec2 q = glm::abs(p - centre) - half + radius;
                return glm::length(glm::max(q, vec2(0.0f))) + std::min(std::max(q.x, q.y), 0.0f) - radius;
            },
            lo, hi};
}

Shape capsule(vec2 a, vec2 b, float radius)
{
    return {[=](vec2 p) {
                vec2 pa = p - a, ba = b - a;
                float len2 = glm::dot(ba, ba);
                float h = len2 > 0 ? glm::clamp(glm::dot(pa, ba) / len2, 0.0f, 1.0f) : 0.0f;
                return glm::length(pa - ba * h) - radius;
            },
            glm::min(a, b) - radius, glm::max(a, b) + radius};
}

Shape polygon(std::vector<vec2> points)
{
    vec2 lo = points.front(), hi = points.front();
    for (vec2 p : points) {
        lo = glm::min(lo, p);
        hi = glm::max(hi, p);
    }
    return {[points](vec2 p) {
                size_t n = points.size();
                float d = glm::dot(p - points[0], p - points[0]);
                float s = 1.0f;
                for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
                    vec2 e = points[j] - points[i];
                    vec2 w = p - points[i];
                    vec2 b = w - e * glm::clamp(glm::dot(w, e) / glm::dot(e, e), 0.0f, 1.0f);
                    d = std::min(d, glm::dot(b, b));
                    bool c1 = p.y >= points[i].y, c2 = p.y < points[j].y, c3 = e.x * w.y > e.y * w.x;
                    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
                }
                return s * std::sqrt(d);
            },
            lo, hi};
}

Shape unite(const Shape& a, const Shape& b)
{
    auto da = a.distance, db = b.distance;
    return {[=](vec2 p) { return std::min(da(p), db(p)); }, glm::min(a.lo, b.lo), glm::max(a.hi, b.hi)};
}

Shape subtract(const Shape& a, const Shape& b)
{
    auto da = a.distance, db = b.distance;
    return {[=](vec2 p) { return std::max(da(p), -db(p)); }, a.lo, a.hi};
}

Shape intersect(const Shape& a, const Shape& b)
{
    auto da = a.distance, db = b.distance;
    return {[=](vec2 p) { return std::max(da(p), db(p)); }, glm::max(a.lo, b.lo), glm::min(a.hi, b.hi)};
}

Shape outline(const Shape& s, float halfWidth)
{
    auto d = s.distance;
    return {[=](vec2 p) { return std::fabs(d(p)) - halfWidth; }, s.lo - halfWidth, s.hi + halfWidth};
}

Shape rotated(const Shape& s, vec2 pivot, float radians)
{
    auto d = s.distance;
    float c = std::cos(radians), sn = std::sin(radians);
    auto turn = [=](vec2 q, float sign) {
        vec2 r = q - pivot;
        return pivot + vec2(c * r.x - sign * sn * r.y, sign * sn * r.x + c * r.y);
    };
    vec2 corners[4] = {s.lo, {s.hi.x, s.lo.y}, s.hi, {s.lo.x, s.hi.y}};
    vec2 lo(1e9f), hi(-1e9f);
    for (vec2 k : corners) {
        vec2 t = turn(k, 1.0f);
        lo = glm::min(lo, t);
        hi = glm::max(hi, t);
    }
    return {[=](vec2 p) { return d(turn(p, -1.0f)); }, lo, hi};
}

Shape stroke(const std::vector<vec2>& points, float radius)
{
    Shape s = capsule(points[0], points.size() > 1 ? points[1] : points[0], radius);
    for (size_t i = 2; i < points.size(); ++i) s = unite(s, capsule(points[i - 1], points[i], radius));
    return s;
}

std::vector<vec2> bezier(vec2 a, vec2 control, vec2 b, int segments)
{
    std::vector<vec2> points;
    for (int i = 0; i <= segments; ++i) {
        float t = static_cast<float>(i) / segments;
        points.push_back((1 - t) * (1 - t) * a + 2 * (1 - t) * t * control + t * t * b);
    }
    return points;
}

// ---------------------------------------------------------------- paints

Paint solid(Color c)
{
    return [c](vec2) { return c; };
}

Paint linear(vec2 from, Color a, vec2 to, Color b)
{
    vec2 dir = to - from;
    float len2 = glm::dot(dir, dir);
    return [=](vec2 p) { return mix(a, b, glm::clamp(glm::dot(p - from, dir) / len2, 0.0f, 1.0f)); };
}

Paint radial(vec2 centre, float radius, Color inner, Color outer)
{
    return [=](vec2 p) { return mix(inner, outer, glm::clamp(glm::length(p - centre) / radius, 0.0f, 1.0f)); };
}

// ---------------------------------------------------------------- masks

float Mask::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
    return value[static_cast<size_t>(y) * width + x];
}

Mask Mask::dilated(float radius) const
{
    Mask out(width, height);
    int r = static_cast<int>(std::ceil(radius)) + 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    float v = at(x + dx, y + dy);
                    if (v <= 0.0f) continue;
                    float w = glm::clamp(radius + 0.5f - std::sqrt(float(dx * dx + dy * dy)), 0.0f, 1.0f);
                    best = std::max(best, v * w);
                }
            out.value[static_cast<size_t>(y) * width + x] = best;
        }
    return out;
}

Mask Mask::blurred(int radius) const
{
    Mask a = *this, b(width, height);
    float n = 2.0f * radius + 1.0f;
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float s = 0;
                for (int d = -radius; d <= radius; ++d) s += a.at(x + d, y);
                b.value[static_cast<size_t>(y) * width + x] = s / n;
            }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float s = 0;
                for (int d = -radius; d <= radius; ++d) s += b.at(x, y + d);
                a.value[static_cast<size_t>(y) * width + x] = s / n;
            }
    }
    return a;
}

// ---------------------------------------------------------------- canvas

Canvas::Canvas(int width, int height, Color fillColor)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fillColor)
{
}

void Canvas::setView(vec2 scale, vec2 offset)
{
    scale_ = scale;
    offset_ = offset;
}

void Canvas::setUvView()
{
    setView({float(width_), -float(height_)}, {0.0f, float(height_)});
}

vec2 Canvas::toPixel(vec2 design) const { return design * scale_ + offset_; }
vec2 Canvas::toDesign(vec2 pixel) const { return (pixel - offset_) / scale_; }

void Canvas::blend(int x, int y, const Color& c, float coverage)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float sa = c.a * coverage;
    if (sa <= 0.0f) return;
    Color& d = pixel(x, y);
    float keep = d.a * (1.0f - sa);
    float oa = sa + keep;
    d.r = (c.r * sa + d.r * keep) / oa;
    d.g = (c.g * sa + d.g * keep) / oa;
    d.b = (c.b * sa + d.b * keep) / oa;
    d.a = oa;
}

void Canvas::fill(const Shape& shape, const Paint& paint)
{
    vec2 a = toPixel(shape.lo), b = toPixel(shape.hi);
    int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x))) - 2);
    int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(a.x, b.x))) + 2);
    int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y))) - 2);
    int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(a.y, b.y))) + 2);
    float pixelSize = 1.0f / std::sqrt(std::fabs(scale_.x * scale_.y));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            vec2 p = toDesign({x + 0.5f, y + 0.5f});
            float coverage = glm::clamp(0.5f - shape.distance(p) / pixelSize, 0.0f, 1.0f);
            if (coverage > 0.0f) blend(x, y, paint(p), coverage);
        }
}

void Canvas::fillAll(const Paint& paint)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) blend(x, y, paint(toDesign({x + 0.5f, y + 0.5f})), 1.0f);
}

void Canvas::fillMask(const Mask& mask, int x, int y, const Paint& paint)
{
    for (int j = 0; j < mask.height; ++j)
        for (int i = 0; i < mask.width; ++i) {
            float v = mask.value[static_cast<size_t>(j) * mask.width + i];
            if (v > 0.0f) blend(x + i, y + j, paint(toDesign({x + i + 0.5f, y + j + 0.5f})), v);
        }
}

Canvas Canvas::resized(int width, int height) const
{
    Canvas out(width, height);
    float fx = float(width_) / width, fy = float(height_) / height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float sx0 = x * fx, sx1 = (x + 1) * fx, sy0 = y * fy, sy1 = (y + 1) * fy;
            double r = 0, g = 0, b = 0, a = 0, total = 0;
            for (int sy = static_cast<int>(sy0); sy < std::min<float>(sy1, height_); ++sy)
                for (int sx = static_cast<int>(sx0); sx < std::min<float>(sx1, width_); ++sx) {
                    float w = (std::min(sx1, sx + 1.0f) - std::max(sx0, float(sx))) *
                              (std::min(sy1, sy + 1.0f) - std::max(sy0, float(sy)));
                    if (w <= 0) continue;
                    const Color& c = pixel(sx, sy);
                    r += c.r * c.a * w;
                    g += c.g * c.a * w;
                    b += c.b * c.a * w;
                    a += c.a * w;
                    total += w;
                }
            Color& d = out.pixel(x, y);
            d.a = total > 0 ? float(a / total) : 0.0f;
            if (a > 0) {
                d.r = float(r / a);
                d.g = float(g / a);
                d.b = float(b / a);
            }
        }
    return out;
}

// ---------------------------------------------------------------- text

std::string fontPath(Typeface face)
{
    return face == Typeface::Bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                                  : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

namespace {

FT_Face loadFace(Typeface typeface)
{
    static FT_Library library = nullptr;
    static std::map<Typeface, FT_Face> faces;
    if (!library && FT_Init_FreeType(&library)) throw std::runtime_error("FreeType failed to start");
    auto found = faces.find(typeface);
    if (found != faces.end()) return found->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontPath(typeface).c_str(), 0, &face))
        throw std::runtime_error("cannot open font " + fontPath(typeface) + " (install fonts-dejavu-core)");
    faces[typeface] = face;
    return face;
}

Glyph copyGlyph(FT_Face face)
{
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    Glyph glyph;
    glyph.mask = Mask(static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows));
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col)
            glyph.mask.value[row * bitmap.width + col] = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
    glyph.left = face->glyph->bitmap_left;
    glyph.top = face->glyph->bitmap_top;
    glyph.advance = face->glyph->advance.x / 64.0f;
    return glyph;
}

} // namespace

Glyph renderGlyph(unsigned char ch, Typeface typeface, float pixelSize)
{
    FT_Face face = loadFace(typeface);
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER)) throw std::runtime_error("FreeType cannot render a glyph");
    return copyGlyph(face);
}

GlyphBox glyphBox(unsigned char ch, Typeface typeface, float pixelSize)
{
    FT_Face face = loadFace(typeface);
    if (FT_Load_Char(face, ch, FT_LOAD_NO_SCALE)) throw std::runtime_error("FreeType cannot load a glyph");
    const FT_Glyph_Metrics& m = face->glyph->metrics;
    // The size FreeType renders at is rounded to 1/64 pixel.
    float unit = std::lround(pixelSize * 64) / 64.0f / static_cast<float>(face->units_per_EM);
    GlyphBox box;
    box.x0 = m.horiBearingX * unit;
    box.x1 = (m.horiBearingX + m.width) * unit;
    box.y1 = m.horiBearingY * unit;
    box.y0 = (m.horiBearingY - m.height) * unit;
    box.advance = m.horiAdvance * unit;
    return box;
}

Glyph renderGlyph(unsigned char ch, Typeface typeface, float pixelSize, vec2 scale, vec2 shift)
{
    FT_Face face = loadFace(typeface);
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
    FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(scale.x * 65536.0f)), 0, 0,
                     static_cast<FT_Fixed>(std::lround(scale.y * 65536.0f))};
    FT_Vector delta{static_cast<FT_Pos>(std::lround(shift.x * 64.0f)), static_cast<FT_Pos>(std::lround(shift.y * 64.0f))};
    FT_Set_Transform(face, &matrix, &delta);
    FT_Error error = FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_NO_HINTING);
    FT_Set_Transform(face, nullptr, nullptr);   // the face is shared with the plain text
    if (error) throw std::runtime_error("FreeType cannot render a glyph");
    return copyGlyph(face);
}

TextBlock renderText(const std::string& text, Typeface typeface, float pixelSize, int margin)
{
    FT_Face face = loadFace(typeface);
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
    int ascender = static_cast<int>(std::ceil(face->size->metrics.ascender / 64.0));
    int descender = static_cast<int>(std::ceil(-face->size->metrics.descender / 64.0));

    // First pass: the pen positions (with kerning) and the total advance.
    std::vector<long> pens;
    long pen = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            pen += kern.x;
        }
        pens.push_back(pen);
        FT_Load_Glyph(face, index, FT_LOAD_DEFAULT);
        pen += face->glyph->advance.x;
        previous = index;
    }

    TextBlock block;
    block.advance = static_cast<int>(std::lround(pen / 64.0));
    block.left = margin + static_cast<int>(pixelSize * 0.2f);
    block.baseline = margin + ascender;
    block.mask = Mask(block.advance + 2 * block.left, ascender + descender + 2 * margin);
    for (size_t i = 0; i < text.size(); ++i) {
        Glyph glyph = renderGlyph(static_cast<unsigned char>(text[i]), typeface, pixelSize);
        int ox = block.left + static_cast<int>(std::lround(pens[i] / 64.0)) + glyph.left;
        int oy = block.baseline - glyph.top;
        for (int row = 0; row < glyph.mask.height; ++row)
            for (int col = 0; col < glyph.mask.width; ++col) {
                int x = ox + col, y = oy + row;
                if (x < 0 || y < 0 || x >= block.mask.width || y >= block.mask.height) continue;
                float& dst = block.mask.value[static_cast<size_t>(y) * block.mask.width + x];
                dst = std::max(dst, glyph.mask.at(col, row));
            }
    }
    return block;
}

int drawText(Canvas& canvas, const std::string& text, float x, float y, const TextStyle& style)
{
    int margin = static_cast<int>(std::ceil(style.outline)) + style.shadow * 2 + 2;
    TextBlock block = renderText(text, style.face, style.size, margin);
    float start = x;
    if (style.align == Align::Centre) start -= block.advance * 0.5f;
    if (style.align == Align::Right) start -= static_cast<float>(block.advance);
    int left = static_cast<int>(std::lround(start)) - block.left;
    int top = static_cast<int>(std::lround(y)) - block.baseline;
    if (style.shadow > 0)
        canvas.fillMask(block.mask.blurred(style.shadow), left + style.shadow, top + style.shadow,
                        solid({0, 0, 0, 0.45f}));
    if (style.outline > 0.0f) canvas.fillMask(block.mask.dilated(style.outline), left, top, solid(style.outlineColor));
    canvas.fillMask(block.mask, left, top, solid(style.color));
    return block.advance;
}

// ---------------------------------------------------------------- noise

float hashNoise(int x, int y, int seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
                 static_cast<uint32_t>(seed) * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return (h & 0xffffff) / float(0xffffff);
}

float valueNoise(vec2 p, int seed)
{
    int x = static_cast<int>(std::floor(p.x)), y = static_cast<int>(std::floor(p.y));
    float fx = p.x - x, fy = p.y - y;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = hashNoise(x, y, seed), b = hashNoise(x + 1, y, seed);
    float c = hashNoise(x, y + 1, seed), d = hashNoise(x + 1, y + 1, seed);
    return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy;
}

float fractalNoise(vec2 p, int seed, int octaves)
{
    float sum = 0, amplitude = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(p, seed + i * 31) * amplitude;
        total += amplitude;
        p *= 2.0f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

} // namespace assetgen
