// The course as the game sees it: the section files read through Assimp with
// the game's import flags, one box per mesh by the game's own box rule.
#pragma once

#include "render/mesh_record.h"

#include <assimp/scene.h>

#include <cmath>
#include <string>
#include <vector>

namespace ruma::test {

struct SectionBox {
    int section;   // 0..3 for e1..e4
    int mesh;      // index within its file
    MeshRecord box;
};

// Boxes of one model file, in mesh order; empty when it cannot be read.
std::vector<MeshRecord> readBoxes(const std::string& path);

// All four sections of one variant ("" or "b"), read once.
const std::vector<SectionBox>& courseBoxes(const std::string& variant = "");

// The highest box top containing (x, z) in its footprint that is not above
// yMax; NaN when there is none. `which` receives the box.
double topBelow(double x, double z, double yMax, const SectionBox** which = nullptr);

// Whether the point lies strictly inside some box.
bool insideSolid(double x, double y, double z);

std::string sectionFile(int section, const std::string& variant, const std::string& folder,
                        const std::string& extension);

} // namespace ruma::test
