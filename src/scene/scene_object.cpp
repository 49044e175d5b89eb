#include "scene/scene_object.h"

#include "platform/math_conventions.h"
#include "render/draw_stats.h"
#include "render/frustum.h"

#include <algorithm>
#include <cstdint>

namespace ruma::scene {

SceneObject::SceneObject(const glm::mat4& model_, Shader* shader_) : model(model_), shader(shader_) {}

SceneObject::~SceneObject()
{
    for (MeshRecord& record : meshes) {
        const GLuint buffers[] = {record.positionBuffer, record.normalBuffer, record.indexBuffer,
                                  record.uvBuffer};
        for (GLuint buffer : buffers)
            if (buffer != 0) glDeleteBuffers(1, &buffer);
        if (record.vao != 0 && (!oneVertexArray || &record == &meshes.front()))
            glDeleteVertexArrays(1, &record.vao);
    }
}

void SceneObject::drawMesh(const MeshRecord& record)
{
    glBindVertexArray(record.vao);
    ++drawCallCount;
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(record.indexCount), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(static_cast<uintptr_t>(record.firstIndex) * sizeof(GLuint)));
    glBindVertexArray(0);
}

void SceneObject::drawRanges()
{
    // Separate vertex arrays, or a single mesh: one call per mesh.
    if (!oneVertexArray || meshes.size() < 2) {
        for (const auto& [distance, i] : drawOrder) drawMesh(meshes[static_cast<size_t>(i)]);
        return;
    }
    // One call draws the ranges in the order given.
    rangeCounts.clear();
    rangeOffsets.clear();
    for (const auto& [distance, i] : drawOrder) {
        const MeshRecord& record = meshes[static_cast<size_t>(i)];
        rangeCounts.push_back(static_cast<GLsizei>(record.indexCount));
        rangeOffsets.push_back(reinterpret_cast<const void*>(static_cast<uintptr_t>(record.firstIndex) * sizeof(GLuint)));
    }
    if (rangeCounts.empty()) return;
    glBindVertexArray(meshes.front().vao);
    ++drawCallCount;
    glMultiDrawElements(GL_TRIANGLES, rangeCounts.data(), GL_UNSIGNED_INT, rangeOffsets.data(),
                        static_cast<GLsizei>(rangeCounts.size()));
    glBindVertexArray(0);
}

void SceneObject::draw()
{
    drawOrder.clear();
    for (int i = 0; i < meshCount(); ++i) drawOrder.emplace_back(0.0f, i);
    drawRanges();
}

void SceneObject::drawNearestFirst(const glm::vec3& eye, const Frustum* frustum)
{
    // A box grown by this much still holds everything of its mesh that a window
    // a pixel off 16:9 shows beyond the frustum's own 16:9 sides.
    constexpr float kMargin = 1.0f;
    drawOrder.clear();
    for (int i = 0; i < meshCount(); ++i) {
        const MeshRecord& mesh = meshes[static_cast<size_t>(i)];
        if (frustum && !frustum->boxInFrustum(glm::vec3(mesh.minX, mesh.minY, mesh.minZ) - kMargin,
                                              glm::vec3(mesh.maxX, mesh.maxY, mesh.maxZ) + kMargin))
            continue;
        drawOrder.emplace_back(squaredDistanceToBox(mesh, eye), i);
    }
    // Equal distances keep file order (pairs compare the mesh number next).
    std::sort(drawOrder.begin(), drawOrder.end());
    drawRanges();
}

void SceneObject::translate(const glm::vec3& offset)
{
    model = glm::translate(model, offset);
    for (MeshRecord& record : meshes) {
        record.minX += offset.x;
        record.maxX += offset.x;
        record.minY += offset.y;
        record.maxY += offset.y;
        record.minZ += offset.z;
        record.maxZ += offset.z;
    }
}

void SceneObject::rotate(float degrees, const glm::vec3& axis)
{
    model = rotateDegrees(model, degrees, axis);
}

} // namespace ruma::scene
