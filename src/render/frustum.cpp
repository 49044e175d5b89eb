#include "render/frustum.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace ruma {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// v over its length, the root taken in double precision.
glm::vec3 normalise(const glm::vec3& v)
{
    double length = std::sqrt(static_cast<double>(v.x * v.x + v.y * v.y + v.z * v.z));
    return glm::vec3(static_cast<float>(v.x / length), static_cast<float>(v.y / length),
                     static_cast<float>(v.z / length));
}

} // namespace

Frustum::Frustum(float fieldOfViewDegrees, float nearDistance_, float farDistance_)
    : nearCentre(0.0f), farCentre(0.0f), nearDistance(nearDistance_), farDistance(farDistance_)
{
    for (auto& plane : planes)
        for (float& value : plane) value = 0.0f;

    float t = static_cast<float>(std::tan(fieldOfViewDegrees * kRadiansPerDegree * 0.5));
    nearHalfHeight = t * nearDistance;
    farHalfHeight = t * farDistance;
    nearHalfWidth = nearHalfHeight * 16.0f / 9.0f;
    farHalfWidth = farHalfHeight * 16.0f / 9.0f;
}

void Frustum::setPlane(int plane, const glm::vec3& point, const glm::vec3& normal)
{
    float* p = planes[plane];
    p[0] = point.x;
    p[1] = point.y;
    p[2] = point.z;
    p[3] = normal.x;
    p[4] = normal.y;
    p[5] = normal.z;
    p[6] = -glm::dot(normal, point);
}

void Frustum::updateFromCamera(const glm::vec3& position, const glm::vec3& lookAt, const glm::vec3& up)
{
    glm::vec3 forward = normalise(lookAt - position);
    glm::vec3 left = normalise(glm::cross(up, forward));
    glm::vec3 cameraUp = glm::cross(forward, left);

    nearCentre = position + forward * nearDistance;
    farCentre = position + forward * farDistance;

    // Each side plane passes through the eye and an edge of the near rectangle.
    glm::vec3 q = nearCentre + cameraUp * nearHalfHeight;
    setPlane(kTop, q, normalise(glm::cross(normalise(q - position), left)));
    q = nearCentre - cameraUp * nearHalfHeight;
    setPlane(kBottom, q, normalise(glm::cross(left, normalise(q - position))));
    q = nearCentre - left * nearHalfWidth;
    setPlane(kRight, q, normalise(glm::cross(normalise(q - position), cameraUp)));
    q = nearCentre + left * nearHalfWidth;
    setPlane(kLeft, q, normalise(glm::cross(cameraUp, normalise(q - position))));

    setPlane(kNear, nearCentre, normalise(-forward));
    setPlane(kFar, farCentre, normalise(forward));
}

bool Frustum::boxInFrustum(const glm::vec3& a, const glm::vec3& b) const
{
    const glm::vec3 corners[8] = {
        {a.x, a.y, a.z}, {a.x, a.y, b.z}, {a.x, b.y, a.z}, {a.x, b.y, b.z},
        {b.x, a.y, a.z}, {b.x, a.y, b.z}, {b.x, b.y, a.z}, {b.x, b.y, b.z},
    };
    for (const auto& plane : planes) {
        int inside = 0;
        for (const auto& k : corners) {
            // A distance that is not a number fails this test and so is not counted.
            float distance = plane[3] * k.x + plane[4] * k.y + plane[5] * k.z + plane[6];
            if (distance <= 0.0f) ++inside;
        }
        if (inside == 0) return false;
    }
    return true;
}

bool Frustum::sectionInView(const std::vector<MeshRecord>& meshes) const
{
    int visible = 0;
    for (const MeshRecord& mesh : meshes) {
        if (boxInFrustum(glm::vec3(mesh.minX, mesh.minY, mesh.minZ),
                         glm::vec3(mesh.maxX, mesh.maxY, mesh.maxZ)))
            ++visible;
    }
    return static_cast<float>(visible) >= static_cast<float>(meshes.size()) / 3.0f;
}

} // namespace ruma
