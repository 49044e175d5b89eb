// The asset generator writes every resource file of the game except the course
// and the shaders; the committed files are exactly what it writes.
#include "assets.h"
#include "platform/file_manifest.h"
#include "support/process.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using namespace ruma::test;

namespace {

// Files of other tools that share Resources/: the course sections, the shaders and the manifest.
bool belongsElsewhere(const std::string& relative)
{
    static const std::regex course(R"((Models/e[1-4]b?\.obj|Textures/e[1-4]b?\.jpg))");
    return relative.rfind("Shader/", 0) == 0 || relative == "manifest.txt" || std::regex_match(relative, course);
}

const std::vector<std::string>& expected() { return assetgen::generatedFiles(); }

std::string resourcePath(const std::string& relative) { return sourceDir() + "/Resources/" + relative; }

} // namespace

// Whatever wrote a file under Resources/ (a generator or a hand-edited shader),
// the manifest the game checks at start lists it as committed.
TEST(ResourceManifest, ListsEveryCommittedFileAsItIs)
{
    EXPECT_TRUE(readFile(resourcePath("manifest.txt")) == ruma::manifestOf(sourceDir() + "/Resources", "manifest.txt"))
        << "Resources/ changed since its manifest was written: run build/tools/manifest/resourcemanifest Resources";
}

TEST(AssetGenerator, RegeneratesTheCommittedFilesByteForByte)
{
    ScratchDir scratch("assetgen");
    ProcessOptions options;
    options.timeoutSeconds = 300;
    ProcessResult run = runProcess({TOVIK3D_ASSETGEN, scratch.file("Resources"), scratch.file("icons")}, options);
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    std::set<std::string> written = filesUnder(scratch.file("Resources"));
    EXPECT_EQ(written, std::set<std::string>(expected().begin(), expected().end()))
        << "the generator's list of files is out of date";
    for (const std::string& file : written) {
        ASSERT_TRUE(fs::exists(resourcePath(file))) << file << " is not committed";
        EXPECT_TRUE(readFile(scratch.file("Resources/" + file)) == readFile(resourcePath(file)))
            << file << " differs from its committed copy: run build/tools/assetgen/assetgen Resources packaging/icons";
    }
    // The desktop icons, one square picture a size, committed beside the install rules.
    std::set<std::string> icons = filesUnder(scratch.file("icons"));
    EXPECT_EQ(icons, filesUnder(sourceDir() + "/packaging/icons"));
    for (int size : assetgen::iconSizes()) {
        std::string name = "tovik3d-" + std::to_string(size) + ".png";
        EXPECT_TRUE(icons.count(name) && readFile(scratch.file("icons/" + name)) == readFile(sourceDir() + "/packaging/icons/" + name))
            << name << " differs from its committed copy";
        FIBITMAP* icon = FreeImage_Load(FIF_PNG, scratch.file("icons/" + name).c_str(), 0);
        EXPECT_TRUE(icon && FreeImage_GetWidth(icon) == unsigned(size) && FreeImage_GetHeight(icon) == unsigned(size) &&
                    FreeImage_GetBPP(icon) == 32)
            << name;
        if (icon) FreeImage_Unload(icon);
    }
    // Nothing stale: every committed file outside the course and the shaders comes from the generator.
    for (const std::string& file : filesUnder(sourceDir() + "/Resources"))
        if (!belongsElsewhere(file)) {
            EXPECT_TRUE(written.count(file)) << file << " is not written by the generator";
        }
}

TEST(AssetGenerator, ResourcesStayWithinTheDownloadBudget)
{
    uintmax_t total = 0, ours = 0;
    for (const std::string& file : filesUnder(sourceDir() + "/Resources")) {
        uintmax_t size = fs::file_size(resourcePath(file));
        total += size;
        if (!belongsElsewhere(file)) ours += size;
    }
    EXPECT_LT(total, 25u * 1000 * 1000);
    EXPECT_LT(ours, 10u * 1000 * 1000) << "leave room for the course's textures";
}
