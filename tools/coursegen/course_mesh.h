// Turns the boxes of a section into textured meshes: every face is split into
// tiles of a fixed world size, each mapped onto its material's atlas cell, so
// no texture is stretched; warning stripes, pit interiors, lamp marks and the
// start plate are chosen per tile. The high-resolution variant adds bevels on
// wall tops and stair nosings. Whatever the variant, a mesh's vertices span
// exactly its box: collision and culling see the same course in both. Where
// faces of two boxes lie in one plane facing the same way, only the box that
// comes first in the course draws the part they share (else they would tie in
// depth and flicker), even when the two belong to different sections.
#pragma once

#include "course_layout.h"

#include <vector>

namespace ruma::course {

enum class Variant { High, Low };

struct MeshCorner {
    int position;   // index into the mesh's positions
    int normal;     // index into meshNormals()
    double u, v;
};

struct Mesh {
    std::vector<double> positions;   // x, y, z per position
    std::vector<std::vector<MeshCorner>> faces;   // quads and triangles, counter-clockwise from outside
};

struct NormalVector {
    double x, y, z;
};
const std::vector<NormalVector>& meshNormals();

// The meshes of one section, one per box, in box order.
std::vector<Mesh> buildSectionMeshes(int section, Variant variant);

} // namespace ruma::course
