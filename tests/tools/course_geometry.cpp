#include "course_geometry.h"

#include "scene/mesh_extents.h"
#include "support/process.h"

#include <assimp/Importer.hpp>

#include <map>

namespace ruma::test {

std::vector<MeshRecord> readBoxes(const std::string& path)
{
    std::vector<MeshRecord> boxes;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, scene::kModelImportFlags);
    if (!scene) return boxes;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        MeshRecord record;
        if (mesh->mNumVertices > 0)
            scene::computeExtents(&mesh->mVertices[0].x, mesh->mNumVertices, glm::vec3(0.0f), record);
        record.faceCount = mesh->mNumFaces;
        boxes.push_back(record);
    }
    return boxes;
}

std::string sectionFile(int section, const std::string& variant, const std::string& folder,
                        const std::string& extension)
{
    return sourceDir() + "/Resources/" + folder + "/e" + std::to_string(section + 1) + variant + extension;
}

const std::vector<SectionBox>& courseBoxes(const std::string& variant)
{
    static std::map<std::string, std::vector<SectionBox>> cache;
    auto it = cache.find(variant);
    if (it != cache.end()) return it->second;
    std::vector<SectionBox>& all = cache[variant];
    for (int s = 0; s < 4; ++s) {
        std::vector<MeshRecord> boxes = readBoxes(sectionFile(s, variant, "Models", ".obj"));
        for (size_t m = 0; m < boxes.size(); ++m) all.push_back({s, static_cast<int>(m), boxes[m]});
    }
    return all;
}

double topBelow(double x, double z, double yMax, const SectionBox** which)
{
    const SectionBox* best = nullptr;
    for (const SectionBox& s : courseBoxes()) {
        const MeshRecord& b = s.box;
        if (x < b.minX || x > b.maxX || z < b.minZ || z > b.maxZ || b.maxY > yMax) continue;
        if (!best || b.maxY > best->box.maxY) best = &s;
    }
    if (which) *which = best;
    return best ? best->box.maxY : NAN;
}

bool insideSolid(double x, double y, double z)
{
    for (const SectionBox& s : courseBoxes()) {
        const MeshRecord& b = s.box;
        if (x > b.minX && x < b.maxX && y > b.minY && y < b.maxY && z > b.minZ && z < b.maxZ) return true;
    }
    return false;
}

} // namespace ruma::test
