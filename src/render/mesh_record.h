// One mesh of a drawable object: its vertex array, its world-space box and its
// size. Loaders fill it; drawing, culling and the course collision read it.
#pragma once

#include "render/gl.h"

#include <glm/vec3.hpp>

#include <algorithm>
#include <vector>

namespace ruma {

struct MeshRecord {
    GLuint vao = 0;
    float minX = 0.0f, maxX = 0.0f;
    float minY = 0.0f, maxY = 0.0f;
    float minZ = 0.0f, maxZ = 0.0f;
    unsigned int faceCount = 0;
    // The mesh's range in its vertex array's index buffer (in indices); meshes
    // of one model can share one vertex array.
    unsigned int firstIndex = 0;
    unsigned int indexCount = 0;
    // Only animated objects keep these: the unanimated positions (3 floats each).
    unsigned int vertexCount = 0;
    std::vector<float> basePositions;
    // Every buffer of the mesh, so each can be released.
    GLuint indexBuffer = 0, positionBuffer = 0, normalBuffer = 0, uvBuffer = 0;
};

// Squared distance from the point to the nearest point of the mesh's box (0 inside it).
inline float squaredDistanceToBox(const MeshRecord& mesh, const glm::vec3& point)
{
    const float dx = std::max({mesh.minX - point.x, 0.0f, point.x - mesh.maxX});
    const float dy = std::max({mesh.minY - point.y, 0.0f, point.y - mesh.maxY});
    const float dz = std::max({mesh.minZ - point.z, 0.0f, point.z - mesh.maxZ});
    return dx * dx + dy * dy + dz * dz;
}

} // namespace ruma
