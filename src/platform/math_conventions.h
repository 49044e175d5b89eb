// How the game does its matrix maths: column-major GLM matrices uploaded
// untransposed, MVP = projection * view * model, model = translate * rotate *
// scale, y up. Model rotations are given in degrees; GLM takes radians, so every
// degree value goes through these helpers (and so through glm::radians).
#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace ruma {

// Radians to degrees, as the camera's turns are handed to model rotations.
constexpr float kDegreesPerRadian = 57.29578f;

inline glm::mat4 identityMatrix() { return glm::mat4(1.0f); }

// m multiplied on the right by a rotation of `degrees` about `axis`.
inline glm::mat4 rotateDegrees(const glm::mat4& m, float degrees, const glm::vec3& axis)
{
    return glm::rotate(m, glm::radians(degrees), axis);
}

inline glm::mat4 perspectiveDegrees(float fovyDegrees, float aspect, float zNear, float zFar)
{
    return glm::perspective(glm::radians(fovyDegrees), aspect, zNear, zFar);
}

inline glm::vec3 translationOf(const glm::mat4& m) { return glm::vec3(m[3]); }

} // namespace ruma
