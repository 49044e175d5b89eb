#include "scene/animated_object.h"

#include "platform/math_conventions.h"
#include "scene/mesh_extents.h"
#include "scene/model_import.h"
#include "scene/physics_body.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cstdio>

namespace ruma::scene {

AnimatedObject::AnimatedObject(const glm::mat4& model_, Shader* shader_) : SceneObject(model_, shader_)
{
    std::shared_ptr<Assimp::Importer> importer;
    const aiScene* scene = readModelFile(importer, kBoardModelFile);
    if (scene) channels = readChannels(*scene);
    uploadMeshes(*this, scene, true);
    // A left-out mesh shifts the others: the channels would pose the wrong parts.
    if (scene && meshes.size() != scene->mNumMeshes) channels.clear();
    finishImport(importer, *this);

    posedPositions.resize(meshes.size());
    for (size_t i = 0; i < meshes.size(); ++i) posedPositions[i].resize(meshes[i].basePositions.size());
    transparent = false;
    unlit = false;
}

void AnimatedObject::update(double dt)
{
    animationTime += dt * 2.0;
    for (const AnimationChannel& channel : channels) {
        const double t = channelTime(animationTime, channel.duration);
        if (channel.meshIndex < 0 || channel.meshIndex >= meshCount()) continue;
        const size_t index = static_cast<size_t>(channel.meshIndex);
        poseMesh(meshes[index], posedPositions[index], evaluateChannel(channel, t));
    }
}

void AnimatedObject::poseMesh(MeshRecord& record, std::vector<float>& posed, const ChannelPose& pose)
{
    if (record.vertexCount == 0) return;
    poseVertices(record.basePositions.data(), record.vertexCount, pose, posed.data());
    // The boxes follow wherever the board has been placed this frame.
    computeExtents(posed.data(), record.vertexCount, translationOf(model), record);

    glBindVertexArray(record.vao);
    glBindBuffer(GL_ARRAY_BUFFER, record.positionBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(posed.size() * sizeof(float)), posed.data());
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

btRigidBody::btRigidBodyConstructionInfo AnimatedObject::genPhysics(float mass)
{
    std::printf("genphysics in animated object called\n");
    std::fflush(stdout);
    return boxBodyInfo(mass, meshes, translationOf(model));
}

} // namespace ruma::scene
