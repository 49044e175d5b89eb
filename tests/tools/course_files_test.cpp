// The section files themselves: both variants give the game the layout's boxes,
// and the generator writes exactly the committed files.
#include "course_geometry.h"

#include "course_layout.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace ruma::test {
namespace {

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
            const double seen[] = {h.minX, h.maxX, h.minY, h.maxY, h.minZ, h.maxZ};
            const double laid[] = {e.x0, e.x1, e.y0, e.y1, e.z0, e.z1};
            for (int i = 0; i < 6; ++i) EXPECT_NEAR(seen[i], laid[i], 1e-4) << i;
            EXPECT_GT(h.faceCount, 0u);
            EXPECT_GT(l.faceCount, 0u);
        }
    }
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
