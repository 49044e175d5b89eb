#include "scene/scene_object.h"

#include "platform/math_conventions.h"
#include "render/draw_stats.h"

#include <algorithm>

namespace ruma::scene {

SceneObject::SceneObject(const glm::mat4& model_, Shader* shader_) : model(model_), shader(shader_) {}

SceneObject::~SceneObject()
{
    for (MeshRecord& record : meshes) {
        const GLuint buffers[] = {record.positionBuffer, record.normalBuffer, record.indexBuffer,
                                  record.uvBuffer};
        for (GLuint buffer : buffers)
            if (buffer != 0) glDeleteBuffers(1, &buffer);
        if (record.vao != 0) glDeleteVertexArrays(1, &record.vao);
    }
}

void SceneObject::drawMesh(const MeshRecord& record)
{
    glBindVertexArray(record.vao);
    ++drawCallCount;
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(3 * record.faceCount), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void SceneObject::draw()
{
    for (int i = 0; i < meshCount && i < static_cast<int>(meshes.size()); ++i)
        drawMesh(meshes[static_cast<size_t>(i)]);
}

void SceneObject::drawNearestFirst(const glm::vec3& eye)
{
    const int count = std::min(meshCount, static_cast<int>(meshes.size()));
    drawOrder.clear();
    for (int i = 0; i < count; ++i)
        drawOrder.emplace_back(squaredDistanceToBox(meshes[static_cast<size_t>(i)], eye), i);
    // Equal distances keep file order (pairs compare the mesh number next).
    std::sort(drawOrder.begin(), drawOrder.end());
    for (const auto& [distance, i] : drawOrder) drawMesh(meshes[static_cast<size_t>(i)]);
}

void SceneObject::translate(const glm::vec3& offset)
{
    model = glm::translate(model, offset);
    for (int i = 0; i < meshCount && i < static_cast<int>(meshes.size()); ++i) {
        MeshRecord& record = meshes[static_cast<size_t>(i)];
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
