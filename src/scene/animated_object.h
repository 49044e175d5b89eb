// The skateboard: a scene object whose meshes move by the node animation of
// its model file. Every frame the animation is evaluated on the CPU and the
// moved positions go into each animated mesh's own position buffer.
#pragma once

#include "scene/animation.h"
#include "scene/scene_object.h"

#include <string>
#include <vector>

namespace ruma::scene {

// The board's model file: the only animated model.
constexpr const char* kBoardModelFile = "Resources/Models/skateboard.dae";

class AnimatedObject : public SceneObject {
public:
    double animationTime = 0.0;              // in the file's time units
    std::vector<AnimationChannel> channels;
    std::string name = "Animated Object";
    // One scratch array per mesh for the moved positions, sized once at load.
    std::vector<std::vector<float>> posedPositions;

    // Loads "Resources/Models/skateboard.dae" relative to the working directory.
    AnimatedObject(const glm::mat4& model, Shader* shader);

    // Runs the animation at twice the frame time and re-poses every animated mesh.
    void update(double dt) override;
    std::string getName() override { return name; }
    void setName(std::string newName) override { name = std::move(newName); }
    btRigidBody::btRigidBodyConstructionInfo genPhysics(float mass) override;

private:
    void poseMesh(MeshRecord& record, std::vector<float>& posed, const ChannelPose& pose);
};

} // namespace ruma::scene
