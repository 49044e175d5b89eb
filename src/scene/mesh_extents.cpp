#include "scene/mesh_extents.h"

namespace ruma::scene {

void computeExtents(const float* positions, std::size_t count, const glm::vec3& translation,
                    MeshRecord& record)
{
    float minX = positions[0], maxX = positions[0];
    float minY = positions[1], maxY = positions[1];
    float minZ = positions[2], maxZ = positions[2];
    for (std::size_t i = 1; i < count; ++i) {
        const float* p = positions + 3 * i;
        if (p[0] < minX) minX = p[0];
        if (p[0] > maxX) maxX = p[0];
        if (p[1] < minY) minY = p[1];
        if (p[1] > maxY) maxY = p[1];
        if (p[2] < minZ) minZ = p[2];
        if (p[2] > maxZ) maxZ = p[2];
    }
    record.minX = minX + translation.x;
    record.maxX = maxX + translation.x;
    record.minY = minY + translation.y;
    record.maxY = maxY + translation.y;
    record.minZ = minZ + translation.z;
    record.maxZ = maxZ + translation.z;
}

} // namespace ruma::scene
