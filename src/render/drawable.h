// What the renderer needs of a thing it draws. The scene objects implement it;
// the renderer knows nothing else about them.
#pragma once

#include "render/mesh_record.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <string>
#include <vector>

namespace ruma {

struct Shader;
class Frustum;

// What a thing is, where the game treats it apart: the course's sections are
// culled, the player wears its boost texture, the cat its video while far.
enum class DrawableKind { Plain, CourseSection, Player, Cat };

class Drawable {
public:
    virtual ~Drawable() = default;

    DrawableKind kind = DrawableKind::Plain;   // set where the thing is made

    // Advances the object by one frame (dt in seconds).
    virtual void update(double dt) = 0;
    // Issues the object's draw calls; the caller has bound program, uniforms and textures.
    virtual void draw() = 0;
    // Draws what draw() draws, the meshes nearest to eye first, for an object
    // drawn without blending: the depth test then rejects what the near meshes
    // hide before it is shaded, and the picture is the same. Given a frustum,
    // meshes whose boxes lie wholly outside it are left out (only for objects
    // whose boxes are exact: no rotation or scale).
    virtual void drawNearestFirst(const glm::vec3& eye, const Frustum* frustum)
    {
        (void)eye;
        (void)frustum;
        draw();
    }
    virtual bool isTransparent() = 0;
    virtual bool isUnlit() = 0;
    virtual std::string getName() = 0;
    virtual void setName(std::string name) = 0;
    virtual Shader* getShader() = 0;

    // Model-to-world matrix and per-mesh boxes, read by drawing and culling.
    virtual const glm::mat4& modelMatrix() const = 0;
    virtual const std::vector<MeshRecord>& meshRecords() const = 0;
};

} // namespace ruma
