// The section files themselves: both variants give the game the same boxes,
// every face shows its textured side outwards, the textures are laid on
// without stretching, and the generator writes exactly the committed files.
#include "course_geometry.h"

#include "atlas.h"
#include "course_layout.h"
#include "scene/mesh_extents.h"
#include "support/process.h"

#include <FreeImage.h>
#include <assimp/Importer.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace ruma::test {
namespace {

using course::Cell;

TEST(CourseFiles, BothVariantsGiveTheGameTheSameBoxes)
{
    const auto& layout = course::course().boxes;
    for (int s = 0; s < course::kSectionCount; ++s) {
        SCOPED_TRACE("section e" + std::to_string(s + 1));
        std::vector<MeshRecord> high = readBoxes(sectionFile(s, "", "Models", ".obj"));
        std::vector<MeshRecord> low = readBoxes(sectionFile(s, "b", "Models", ".obj"));
        std::vector<const course::Box*> expected;
        for (const course::Box& b : layout)
            if (b.section == s) expected.push_back(&b);
        ASSERT_EQ(high.size(), expected.size());
        ASSERT_EQ(low.size(), expected.size());
        for (size_t m = 0; m < high.size(); ++m) {
            const MeshRecord &h = high[m], &l = low[m];
            const course::Box& e = *expected[m];
            SCOPED_TRACE(e.name);
            // identical to the bit: collision comes from whichever variant is loaded
            EXPECT_TRUE(h.minX == l.minX && h.maxX == l.maxX && h.minY == l.minY && h.maxY == l.maxY &&
                        h.minZ == l.minZ && h.maxZ == l.maxZ);
            EXPECT_NEAR(h.minX, e.x0, 1e-4);
            EXPECT_NEAR(h.maxX, e.x1, 1e-4);
            EXPECT_NEAR(h.minY, e.y0, 1e-4);
            EXPECT_NEAR(h.maxY, e.y1, 1e-4);
            EXPECT_NEAR(h.minZ, e.z0, 1e-4);
            EXPECT_NEAR(h.maxZ, e.z1, 1e-4);
            EXPECT_GT(h.faceCount, 0u);
            EXPECT_GT(l.faceCount, 0u);
        }
    }
}

// Which atlas cell a texture coordinate falls in, and whether it keeps to
// the cell's tile (a tile may reach a hair into the gutter, which repeats it).
int cellAt(double u, double v, bool& inInner)
{
    double cu = u * course::kAtlasGrid, cv = v * course::kAtlasGrid;
    int column = static_cast<int>(std::floor(cu)), row = static_cast<int>(std::floor(cv));
    double fu = cu - column, fv = cv - row;
    const double slack = course::kGutter / 4;
    inInner = fu >= course::kGutter - slack && fu <= 1 - course::kGutter + slack && fv >= course::kGutter - slack &&
              fv <= 1 - course::kGutter + slack;
    return row * course::kAtlasGrid + column;
}

TEST(CourseFiles, FacesLookOutwardsAndTexturesKeepTheirScale)
{
    const double inner = (1 - 2 * course::kGutter) / course::kAtlasGrid;
    for (const char* variant : {"", "b"})
        for (int s = 0; s < course::kSectionCount; ++s) {
            std::string path = sectionFile(s, variant, "Models", ".obj");
            SCOPED_TRACE(path);
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(path, scene::kModelImportFlags);
            ASSERT_NE(scene, nullptr);
            int inward = 0, straddling = 0, stretched = 0, triangles = 0;
            for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
                const aiMesh* mesh = scene->mMeshes[m];
                ASSERT_TRUE(mesh->HasNormals() && mesh->HasTextureCoords(0)) << "mesh " << m;
                MeshRecord box;
                scene::computeExtents(&mesh->mVertices[0].x, mesh->mNumVertices, glm::vec3(0.0f), box);
                aiVector3D centre(0.5f * (box.minX + box.maxX), 0.5f * (box.minY + box.maxY), 0.5f * (box.minZ + box.maxZ));
                for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                    const aiFace& face = mesh->mFaces[f];
                    ASSERT_EQ(face.mNumIndices, 3u);
                    const unsigned* i = face.mIndices;
                    aiVector3D a = mesh->mVertices[i[0]], b = mesh->mVertices[i[1]], c = mesh->mVertices[i[2]];
                    aiVector3D cross = (b - a) ^ (c - a);
                    double area = 0.5 * cross.Length();
                    double longest = std::max({(b - a).Length(), (c - b).Length(), (a - c).Length()});
                    const aiVector3D* t = mesh->mTextureCoords[0];
                    // the slivers that only span a box draw next to nothing
                    if (2 * area / longest < 0.02 && t[i[0]] == t[i[1]] && t[i[1]] == t[i[2]]) continue;
                    ++triangles;
                    // counter-clockwise from outside, or back-face culling hides it
                    aiVector3D outwards = (a + b + c) / 3.0f - centre;
                    if (cross * mesh->mNormals[i[0]] <= 0 || outwards * mesh->mNormals[i[0]] < -1e-3f) ++inward;
                    bool innerA, innerB, innerC;
                    int cell = cellAt(t[i[0]].x, t[i[0]].y, innerA);
                    if (cellAt(t[i[1]].x, t[i[1]].y, innerB) != cell || cellAt(t[i[2]].x, t[i[2]].y, innerC) != cell ||
                        !innerA || !innerB || !innerC) {
                        ++straddling;
                        continue;
                    }
                    if (cell == static_cast<int>(Cell::Bevel)) continue;   // a plain colour
                    // texture area per world area: the cell's texels spread over its tile size
                    aiVector3D du = t[i[1]] - t[i[0]], dv = t[i[2]] - t[i[0]];
                    double uvArea = 0.5 * std::fabs(du.x * dv.y - du.y * dv.x);
                    course::CellSize size = course::cellSize(static_cast<Cell>(cell));
                    double expected = inner * inner / (size.worldU * size.worldV);
                    if (std::fabs(uvArea / area / expected - 1) > 0.02) ++stretched;
                }
            }
            EXPECT_GT(triangles, 0);
            EXPECT_EQ(inward, 0) << "triangles wound inwards";
            EXPECT_EQ(straddling, 0) << "triangles reaching past their atlas cell";
            EXPECT_EQ(stretched, 0) << "triangles whose texture is stretched";
        }
}

TEST(CourseFiles, TexturesAreAtlasesTheGameLoads)
{
    FreeImage_Initialise(FALSE);
    std::uintmax_t total = 0;
    for (int s = 0; s < course::kSectionCount; ++s)
        for (const char* variant : {"", "b"}) {
            std::string path = sectionFile(s, variant, "Textures", ".jpg");
            SCOPED_TRACE(path);
            ASSERT_EQ(FreeImage_GetFileType(path.c_str(), 0), FIF_JPEG);
            FIBITMAP* image = FreeImage_Load(FIF_JPEG, path.c_str(), 0);
            ASSERT_NE(image, nullptr);
            unsigned size = *variant ? course::kLowResolution : course::kHighResolution;
            EXPECT_EQ(FreeImage_GetWidth(image), size);
            EXPECT_EQ(FreeImage_GetHeight(image), size);
            EXPECT_EQ(FreeImage_GetBPP(image), 24u);
            FreeImage_Unload(image);
            total += std::filesystem::file_size(path);
        }
    for (int s = 0; s < course::kSectionCount; ++s)
        for (const char* variant : {"", "b"}) total += std::filesystem::file_size(sectionFile(s, variant, "Models", ".obj"));
    // the course's share of the game's resource budget
    EXPECT_LT(total, 8u * 1024 * 1024);
}

TEST(CourseFiles, GeneratorWritesTheCommittedFilesAgain)
{
    ScratchDir scratch("coursegen");
    ProcessOptions options;
    options.timeoutSeconds = 300;
    ProcessResult run = runProcess({COURSEGEN_BINARY, "--out", scratch.path()}, options);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    int compared = 0;
    for (int s = 0; s < course::kSectionCount; ++s)
        for (const char* variant : {"", "b"})
            for (auto [folder, extension] : {std::pair{"Models", ".obj"}, std::pair{"Textures", ".jpg"}}) {
                std::string committed = sectionFile(s, variant, folder, extension);
                std::string fresh = scratch.path() + committed.substr(sourceDir().size());
                std::string expected = readFile(committed);
                ASSERT_FALSE(expected.empty()) << committed;
                EXPECT_TRUE(readFile(fresh) == expected) << fresh << " differs from the committed file";
                ++compared;
            }
    EXPECT_EQ(compared, 16);
}

} // namespace
} // namespace ruma::test
