// One drawable object of the render list with its material: the frame's
// update and draw both walk the list in order.
#pragma once

#include <glm/vec3.hpp>

namespace ruma {

class Drawable;
struct Texture;
class VideoTexture;

struct RenderEntry {
    Drawable* object = nullptr;           // a scene object
    Texture* texture = nullptr;           // bound as "colorTexture"
    float shininess = 0.0f;               // "shininess"
    glm::vec3 specularColor = glm::vec3(1.0f);   // "specularColor"
    bool hasVideo = false;                // draw with videoTexture instead of texture
    VideoTexture* videoTexture = nullptr; // set in the cat's entry only
};

} // namespace ruma
