// The camera's viewing volume, built from the eye, the point looked at and the
// up vector with a fixed lens (16:9 whatever the window's shape), for skipping
// level sections that are out of view.
#pragma once

#include "render/mesh_record.h"

#include <glm/vec3.hpp>

#include <vector>

namespace ruma {

class Frustum {
public:
    // Plane order in `planes`.
    enum { kTop, kBottom, kRight, kLeft, kNear, kFar, kPlaneCount };

    Frustum(float fieldOfViewDegrees, float nearDistance, float farDistance);

    void updateFromCamera(const glm::vec3& position, const glm::vec3& lookAt, const glm::vec3& up);
    // The box with opposite corners a and b is rejected only when all eight
    // corners lie strictly beyond one plane; touching counts as inside.
    bool boxInFrustum(const glm::vec3& a, const glm::vec3& b) const;
    // A level section is in view when at least a third of its mesh boxes
    // touch the frustum (a section without meshes always is).
    bool sectionInView(const std::vector<MeshRecord>& meshes) const;

    // Per plane: a point on it (0-2), its unit normal pointing out (3-5) and
    // d = -(normal . point) (6). A point q is outside when normal . q + d > 0.
    float planes[kPlaneCount][7];
    glm::vec3 nearCentre;
    glm::vec3 farCentre;
    float nearDistance;
    float farDistance;
    float nearHalfWidth;
    float nearHalfHeight;
    float farHalfWidth;
    float farHalfHeight;

private:
    void setPlane(int plane, const glm::vec3& point, const glm::vec3& normal);
};

} // namespace ruma
