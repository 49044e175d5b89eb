// One mesh of a drawable object: its vertex array, its world-space box and its
// size. Loaders fill it; drawing, culling and the course collision read it.
#pragma once

#include "render/gl.h"

#include <vector>

namespace ruma {

struct MeshRecord {
    GLuint vao = 0;
    float minX = 0.0f, maxX = 0.0f;
    float minY = 0.0f, maxY = 0.0f;
    float minZ = 0.0f, maxZ = 0.0f;
    unsigned int faceCount = 0;
    // Only animated objects keep these: the unanimated positions (3 floats each).
    unsigned int vertexCount = 0;
    std::vector<float> basePositions;
    // Every buffer of the mesh, so each can be released (the object's own
    // buffer fields name only the last mesh's).
    GLuint indexBuffer = 0, positionBuffer = 0, normalBuffer = 0, uvBuffer = 0;
};

} // namespace ruma
