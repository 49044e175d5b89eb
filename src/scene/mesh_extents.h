// The model file import settings and the box rule shared by every loader and
// by the course tools: the box is the per-axis minimum and maximum of the
// mesh's positions, moved by the object's translation (rotation and scale of
// the model matrix are ignored).
#pragma once

#include "render/mesh_record.h"

#include <glm/vec3.hpp>

#include <cstddef>

namespace ruma::scene {

// aiProcess_JoinIdenticalVertices | Triangulate | GenSmoothNormals |
// ImproveCacheLocality | SortByPType
constexpr unsigned int kModelImportFlags = 0x884A;

// positions holds count vertices of 3 floats; count must be at least 1.
void computeExtents(const float* positions, std::size_t count, const glm::vec3& translation,
                    MeshRecord& record);

} // namespace ruma::scene
