// Model files into GPU meshes: a vertex array per mesh (animated objects) or
// one for the whole model (everything else), with separate, tightly packed
// buffers: 32-bit indices, "position" (3 floats), "normal" (3 floats) and "uv"
// (2 floats), the attributes looked up by name in the object's program.
// Materials, textures, bones and node transforms of the file are not used.
#pragma once

#include "platform/load_ahead.h"
#include "scene/scene_object.h"

#include <memory>
#include <string>

struct aiScene;
namespace Assimp {
class Importer;
}

namespace ruma::scene {

// Reads path with the game's import flags into an importer of its own (or
// takes the one the loading thread read it with ahead of time). Writes "ERROR: reading mesh ..." on
// standard error when that fails or a mesh has positions that are not finite,
// and the "  FILE: ... " line on standard output in every case. Returns the
// importer's scene, or null.
const aiScene* readModelFile(std::shared_ptr<Assimp::Importer>& importer, const std::string& path);

// What readModelFile would read from path, read without messages for a model
// loaded later from the same file (null when it cannot be read).
LoadAhead::Result readModelAhead(const std::string& path, size_t& bytes);

// Uploads every mesh of scene (which may be null: no meshes) into object, in
// file order, leaving out meshes whose positions are not all finite: one
// record each with its box from the object's translation and its own buffers.
// keepBasePositions also fills each record's vertexCount and basePositions.
void uploadMeshes(SceneObject& object, const aiScene* scene, bool keepBasePositions);

// Uploads the same meshes as uploadMeshes into one vertex array: one buffer per
// attribute and one index buffer shared by all, each record a range of the
// indices (firstIndex, indexCount). The first record owns the buffers.
void uploadMergedMeshes(SceneObject& object, const aiScene* scene);

// Frees the importer's scene and leaves no vertex array or buffer bound.
void finishImport(std::shared_ptr<Assimp::Importer>& importer, const SceneObject& object);

// The whole static load: read, upload merged, finish.
void loadModel(SceneObject& object, const std::string& path);

} // namespace ruma::scene
