// Drawings shared by several assets: the cat's face (its texture, its video,
// the pictures), a small cat head icon (the overlays) and Tovik in 2D (the
// pictures). Faces are drawn in their own design units, placed by the view.
#pragma once

#include "canvas.h"

namespace assetgen {

// A small cat head silhouette of the given height with its eyes cut out.
void drawCatIcon(Canvas& canvas, glm::vec2 centre, float size, Color color);

struct CatExpression {
    float blink = 0.0f;       // 0 open, 1 shut
    float mouth = 0.0f;       // 0 closed, 1 wide open (meow)
    glm::vec2 look{0.0f};     // pupil offset, -1..1
    float pupil = 0.35f;      // pupil width: thin slit 0.15 .. round 1
    float earTwitch = 0.0f;   // -1..1, the left ear flicks
    float whiskers = 0.0f;    // whisker swing in radians
};

// The cat's face in design units: head of radius 1 centred on the origin, y up,
// ears reaching up to y = 1.35. The caller's view maps it into place.
void drawCatFace(Canvas& canvas, const CatExpression& expression);

struct TovikPose {
    float armLeft = 0.3f, armRight = -0.3f;   // radians from hanging, positive forward/up
    float legLeft = 0.0f, legRight = 0.0f;
    float tilt = 0.0f;                         // whole body, radians
    bool surprised = false;
};
TovikPose pose(float armLeft, float armRight, float legLeft, float legRight, float tilt = 0.0f, bool surprised = false);

// Tovik standing at `feet` (picture pixels, y down), `height` pixels tall.
void drawTovik(Canvas& canvas, glm::vec2 feet, float height, const TovikPose& pose);

} // namespace assetgen
