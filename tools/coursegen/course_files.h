// The files the course generator writes under the repository root: the four
// sections' models and textures in both variants.
#pragma once

#include "course_mesh.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ruma::course {

struct GeneratedFile {
    std::string path;   // relative to the root, e.g. "Resources/Models/e1.obj"
    std::vector<std::uint8_t> bytes;
};

// One OBJ object per box, each with one material, positions, normals and
// texture coordinates, in box order.
std::string sectionObj(int section, Variant variant);

// All sixteen files; the same bytes on every run.
std::vector<GeneratedFile> generateCourseFiles();

// Writes them below `root`; false (with a message) when a file cannot be written.
bool writeFiles(const std::vector<GeneratedFile>& files, const std::string& root, std::string& error);

} // namespace ruma::course
