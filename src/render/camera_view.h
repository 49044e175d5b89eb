// The camera of the frame being drawn, as the controls computed it.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace ruma {

struct CameraView {
    glm::mat4 projection = glm::mat4(1.0f);
    glm::mat4 view = glm::mat4(1.0f);
    glm::vec3 cameraPosition = glm::vec3(0.0f);   // the eye, in world space
    glm::vec3 lookAt = glm::vec3(0.0f);           // the point looked at (the player)
};

} // namespace ruma
