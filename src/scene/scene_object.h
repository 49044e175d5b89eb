// The family of drawable game objects: level pieces, the player, the cat, the
// slimes and the skateboard. Every object is a model matrix, a program to draw
// with and one record per mesh of its model.
#pragma once

#include "render/drawable.h"
#include "render/gl.h"
#include "render/mesh_record.h"

#include <btBulletDynamicsCommon.h>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <string>
#include <vector>

namespace ruma {
struct Shader;
}

namespace ruma::scene {

class SceneObject : public ruma::Drawable {
public:
    glm::mat4 model = glm::mat4(1.0f);
    Shader* shader = nullptr;              // not owned: no object frees its program
    std::vector<MeshRecord> meshes;
    bool transparent = false;
    bool unlit = false;
    // Set by the loader that merges a model: every record is then a range of
    // the first record's vertex array, and the first record owns the buffers.
    bool oneVertexArray = false;

    int meshCount() const { return static_cast<int>(meshes.size()); }

    // Deletes every buffer and vertex array of every mesh (needs the GL context
    // when there are any).
    ~SceneObject() override;

    void draw() override;
    void drawNearestFirst(const glm::vec3& eye, const Frustum* frustum) override;
    bool isTransparent() override { return transparent; }
    bool isUnlit() override { return unlit; }
    Shader* getShader() override { return shader; }
    const glm::mat4& modelMatrix() const override { return model; }
    const std::vector<MeshRecord>& meshRecords() const override { return meshes; }

    // A new shape and motion state for the object's rigid body; the caller owns both.
    virtual btRigidBody::btRigidBodyConstructionInfo genPhysics(float mass) = 0;
    // Moves the object along its own axes; the mesh boxes move by the offset
    // along the world axes.
    virtual void translate(const glm::vec3& offset);
    // Turns the object about its own axis (normalised here); the boxes stay.
    virtual void rotate(float degrees, const glm::vec3& axis);

protected:
    SceneObject(const glm::mat4& model, Shader* shader);

private:
    void drawMesh(const MeshRecord& record);
    // Draws the meshes of drawOrder in its order: one call for a shared
    // vertex array, else one per mesh.
    void drawRanges();
    // Mesh numbers to draw (by distance when nearest first), refilled at every draw.
    std::vector<std::pair<float, int>> drawOrder;
    std::vector<GLsizei> rangeCounts;
    std::vector<const void*> rangeOffsets;
};

} // namespace ruma::scene
