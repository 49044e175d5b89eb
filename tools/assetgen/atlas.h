// Painting into one rectangle of a texture atlas in the part's own units, so
// that round things painted round look round on the model.
#pragma once

#include "canvas.h"
#include "mesh.h"

namespace assetgen {

// Maps design [lo, hi] (y up) onto the rectangle of the atlas.
inline void regionView(Canvas& canvas, const UvRect& rect, glm::vec2 lo, glm::vec2 hi)
{
    float w = static_cast<float>(canvas.width()), h = static_cast<float>(canvas.height());
    glm::vec2 scale(w * (rect.u1 - rect.u0) / (hi.x - lo.x), -h * (rect.v1 - rect.v0) / (hi.y - lo.y));
    glm::vec2 offset(w * rect.u0 - lo.x * scale.x, h * (1.0f - rect.v0) - lo.y * scale.y);
    canvas.setView(scale, offset);
}

// Sets the view and covers the rectangle (and a thin margin against seams
// and mipmap bleeding) with the paint.
inline void fillRegion(Canvas& canvas, const UvRect& rect, glm::vec2 lo, glm::vec2 hi, const Paint& paint)
{
    regionView(canvas, rect, lo, hi);
    glm::vec2 margin = (hi - lo) * glm::vec2(3.0f / (canvas.width() * (rect.u1 - rect.u0)),
                                             3.0f / (canvas.height() * (rect.v1 - rect.v0)));
    canvas.fill(roundedBox(lo - margin, hi + margin, 0.0f), paint);
}

// Longitude and latitude ranges of a sphere region (front at longitude 0).
inline constexpr float kPi = 3.14159265f;
inline const glm::vec2 kSphereLo{-kPi, -kPi / 2}, kSphereHi{kPi, kPi / 2};

} // namespace assetgen
