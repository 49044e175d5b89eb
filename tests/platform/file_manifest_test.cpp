// The resource manifest: what the tools write and what the game's check
// reports (each file missing or damaged in other ways is the bad-input suite's).
#include "platform/file_manifest.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ruma {
namespace {

TEST(FileManifest, NamesEveryFileThatNoLongerMatchesAndNothingElse)
{
    test::ScratchDir dir("manifest");
    dir.write("abc.txt", "abc");
    dir.write("Models/m.obj", "v 0 0 0\n");
    dir.write("Models/other.obj", "o x\n");
    std::string hex;
    ASSERT_TRUE(sha256OfFile(dir.file("abc.txt"), hex));
    EXPECT_EQ(hex, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    std::string text = manifestOf(dir.path(), "manifest.txt");
    dir.write("manifest.txt", "junk that is not an entry\n" + text);
    EXPECT_EQ(manifestOf(dir.path(), "manifest.txt"), text) << "the manifest does not list itself";

    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(readManifest(dir.file("manifest.txt"), entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].path, "Models/m.obj");   // sorted, with '/' separators
    EXPECT_EQ(entries[2].path, "abc.txt");
    EXPECT_EQ(entries[2].size, 3u);

    const std::string damaged = " is damaged (size or checksum differs); the game may look or play wrong";
    auto skipOther = [](const std::string& path) { return path == "Models/other.obj"; };
    struct Case {
        const char* what;
        std::function<void()> harm;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"untouched", [] {}, {}},
        {"same size, one byte changed", [&] { dir.write("abc.txt", "abd"); }, {dir.file("abc.txt") + damaged}},
        {"a file the run does not read", [&] { dir.write("Models/other.obj", "changed"); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("abc.txt", "abc");
        dir.write("Models/m.obj", "v 0 0 0\n");
        c.harm();
        EXPECT_EQ(damagedFiles(dir.path(), entries, skipOther), c.lines);
        std::filesystem::remove_all(dir.file("abc.txt"));
    }
    std::vector<ManifestEntry> none;
    EXPECT_FALSE(readManifest(dir.file("no-manifest.txt"), none)) << "no manifest, no check";
}

} // namespace
} // namespace ruma
