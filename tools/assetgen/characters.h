// The character models and the cat's skin, which its video repaints with a
// living face.
#pragma once

#include "canvas.h"
#include "drawings.h"
#include "mesh.h"

#include <vector>

namespace assetgen {

// Where the cat's face lies in its texture: uv = centre + face design units * scale.
// The scale keeps the face round in the 320 x 240 video frame.
extern const glm::vec2 kCatFaceCentre;
extern const glm::vec2 kCatFaceScale;

// Paints the whole cat texture layout (fur strips and the face) over the canvas.
void paintCatSkin(Canvas& canvas, const CatExpression& expression);

std::vector<Mesh> buildTovik();
std::vector<Mesh> buildCat();
std::vector<Mesh> buildSlime();

} // namespace assetgen
