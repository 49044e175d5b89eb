#include "scene/model_import.h"

#include "platform/file_read.h"
#include "platform/math_conventions.h"
#include "render/shader.h"
#include "scene/mesh_extents.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cmath>
#include <cstdio>

namespace ruma::scene {

static_assert(sizeof(aiVector3D) == 3 * sizeof(float), "positions are uploaded straight from the importer");

namespace {

// A new GL_ARRAY_BUFFER holding bytes of data, attached to the bound vertex
// array as the program's attribute `name`. A program that does not use the
// attribute (an unlit one has no normals) leaves the buffer unattached.
GLuint uploadAttribute(GLuint program, const char* name, const void* data, size_t bytes,
                       GLint components)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    const GLint location = glGetAttribLocation(program, name);
    if (location < 0) return buffer;
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
    return buffer;
}

// Three indices per face. Point and line faces (not expected in the game's
// models) repeat their last index, which makes a triangle that covers nothing.
std::vector<unsigned int> triangleIndices(const aiMesh& mesh)
{
    std::vector<unsigned int> indices(3 * static_cast<size_t>(mesh.mNumFaces), 0u);
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices == 0) continue;
        for (unsigned int k = 0; k < 3; ++k)
            indices[3 * f + k] = face.mIndices[k < face.mNumIndices ? k : face.mNumIndices - 1];
    }
    return indices;
}

// A damaged file can hold NaN or infinite positions; such a mesh would give the
// physics and the culling a box they cannot use, so it is left out.
bool hasFinitePositions(const aiMesh& mesh)
{
    for (unsigned int i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& p = mesh.mVertices[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    }
    return true;
}

bool isUsable(const aiMesh& mesh) { return !mesh.HasPositions() || hasFinitePositions(mesh); }

void uploadMesh(SceneObject& object, const aiMesh& mesh, bool keepBasePositions)
{
    const GLuint program = object.shader ? object.shader->program : 0;
    const unsigned int vertexCount = mesh.mNumVertices;
    MeshRecord record;

    const std::vector<unsigned int> indices = triangleIndices(mesh);
    glGenVertexArrays(1, &record.vao);
    glBindVertexArray(record.vao);
    glGenBuffers(1, &record.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, record.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)),
                 indices.data(), GL_STATIC_DRAW);

    if (mesh.HasPositions() && vertexCount > 0) {
        const float* positions = &mesh.mVertices[0].x;
        computeExtents(positions, vertexCount, translationOf(object.model), record);
        record.positionBuffer =
            uploadAttribute(program, "position", positions, vertexCount * 3 * sizeof(float), 3);
        if (keepBasePositions) {
            record.vertexCount = vertexCount;
            record.basePositions.assign(positions, positions + 3 * static_cast<size_t>(vertexCount));
        }
    }
    if (mesh.HasNormals() && vertexCount > 0) {
        record.normalBuffer =
            uploadAttribute(program, "normal", &mesh.mNormals[0].x, vertexCount * 3 * sizeof(float), 3);
    }
    if (mesh.HasTextureCoords(0) && vertexCount > 0) {
        std::vector<float> uvs(2 * static_cast<size_t>(vertexCount));
        for (unsigned int i = 0; i < vertexCount; ++i) {
            uvs[2 * i] = mesh.mTextureCoords[0][i].x;
            uvs[2 * i + 1] = mesh.mTextureCoords[0][i].y;
        }
        record.uvBuffer = uploadAttribute(program, "uv", uvs.data(), uvs.size() * sizeof(float), 2);
    }

    record.faceCount = mesh.mNumFaces;
    record.indexCount = static_cast<unsigned int>(indices.size());
    object.meshes.push_back(std::move(record));
}

// Appends the mesh's vertex attributes to the merged arrays; what the mesh
// lacks is zero, as an attribute left unattached reads.
void appendAttributes(const aiMesh& mesh, std::vector<float>& positions, std::vector<float>& normals,
                      std::vector<float>& uvs)
{
    for (unsigned int i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D p = mesh.HasPositions() ? mesh.mVertices[i] : aiVector3D();
        const aiVector3D n = mesh.HasNormals() ? mesh.mNormals[i] : aiVector3D();
        const aiVector3D t = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][i] : aiVector3D();
        positions.insert(positions.end(), {p.x, p.y, p.z});
        normals.insert(normals.end(), {n.x, n.y, n.z});
        uvs.insert(uvs.end(), {t.x, t.y});
    }
}

} // namespace

void uploadMergedMeshes(SceneObject& object, const aiScene* scene)
{
    if (!scene) return;
    std::vector<float> positions, normals, uvs;
    std::vector<unsigned int> indices;
    bool hasNormals = false, hasUvs = false;
    object.meshes.reserve(scene->mNumMeshes);
    for (unsigned int m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        if (!isUsable(mesh)) continue;
        MeshRecord record;
        const unsigned int first = static_cast<unsigned int>(positions.size() / 3);
        const unsigned int vertexCount = mesh.mNumVertices;
        record.firstIndex = static_cast<unsigned int>(indices.size());
        // A mesh without vertices draws nothing; an index beyond its own
        // vertices must not reach into the next mesh's.
        if (vertexCount > 0)
            for (unsigned int index : triangleIndices(mesh))
                indices.push_back(first + (index < vertexCount ? index : 0u));
        record.indexCount = static_cast<unsigned int>(indices.size()) - record.firstIndex;
        if (mesh.HasPositions() && vertexCount > 0)
            computeExtents(&mesh.mVertices[0].x, vertexCount, translationOf(object.model), record);
        hasNormals = hasNormals || (mesh.HasNormals() && vertexCount > 0);
        hasUvs = hasUvs || (mesh.HasTextureCoords(0) && vertexCount > 0);
        appendAttributes(mesh, positions, normals, uvs);
        record.faceCount = mesh.mNumFaces;
        object.meshes.push_back(std::move(record));
    }
    if (object.meshes.empty()) return;

    const GLuint program = object.shader ? object.shader->program : 0;
    // Every record draws from the one vertex array; the first owns it and the buffers.
    object.oneVertexArray = true;
    MeshRecord& owner = object.meshes.front();
    glGenVertexArrays(1, &owner.vao);
    glBindVertexArray(owner.vao);
    glGenBuffers(1, &owner.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, owner.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)),
                 indices.data(), GL_STATIC_DRAW);
    owner.positionBuffer = uploadAttribute(program, "position", positions.data(), positions.size() * sizeof(float), 3);
    owner.normalBuffer =
        hasNormals ? uploadAttribute(program, "normal", normals.data(), normals.size() * sizeof(float), 3) : 0;
    owner.uvBuffer = hasUvs ? uploadAttribute(program, "uv", uvs.data(), uvs.size() * sizeof(float), 2) : 0;
    for (MeshRecord& record : object.meshes) record.vao = owner.vao;
}

LoadAhead::Result readModelAhead(const std::string& path, size_t& bytes)
{
    auto importer = std::make_shared<Assimp::Importer>();
    const aiScene* scene = isReadableFile(path) ? importer->ReadFile(path, kModelImportFlags) : nullptr;
    if (!scene) return nullptr;
    // Positions, normals and texture coordinates, and three indices a face.
    for (unsigned int i = 0; i < scene->mNumMeshes; ++i)
        bytes += scene->mMeshes[i]->mNumVertices * sizeof(aiVector3D) * 3 +
                 scene->mMeshes[i]->mNumFaces * (sizeof(aiFace) + 3 * sizeof(unsigned int));
    return importer;
}

const aiScene* readModelFile(std::shared_ptr<Assimp::Importer>& importer, const std::string& path)
{
    importer = std::static_pointer_cast<Assimp::Importer>(claimLoadedAhead(path));
    const aiScene* scene = nullptr;
    if (importer) {
        scene = importer->GetScene();
    } else {
        importer = std::make_shared<Assimp::Importer>();
        // The importer makes an empty scene of a directory; treat it as unreadable.
        scene = isReadableFile(path) ? importer->ReadFile(path, kModelImportFlags) : nullptr;
    }
    bool damaged = false;
    for (unsigned int i = 0; scene && i < scene->mNumMeshes; ++i) damaged = damaged || !isUsable(*scene->mMeshes[i]);
    if (!scene || damaged) {
        std::fprintf(stderr, "ERROR: reading mesh %s\n", path.c_str());
        std::fflush(stderr);
    }
    std::printf("  FILE: %s \n", path.c_str());
    std::fflush(stdout);
    return scene;
}

void uploadMeshes(SceneObject& object, const aiScene* scene, bool keepBasePositions)
{
    if (!scene) return;
    object.meshes.reserve(scene->mNumMeshes);
    for (unsigned int i = 0; i < scene->mNumMeshes; ++i)
        if (isUsable(*scene->mMeshes[i])) uploadMesh(object, *scene->mMeshes[i], keepBasePositions);
}

void finishImport(std::shared_ptr<Assimp::Importer>& importer, const SceneObject& object)
{
    importer.reset();
    // Nothing was bound when no mesh was uploaded; an object without a model
    // so needs no GL context at all.
    if (object.meshes.empty()) return;
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void loadModel(SceneObject& object, const std::string& path)
{
    std::shared_ptr<Assimp::Importer> importer;
    uploadMergedMeshes(object, readModelFile(importer, path));
    finishImport(importer, object);
}

} // namespace ruma::scene
