// scripts/soak over three minutes of game time: the cat runs its route round
// a standing player at a fixed frame time. Once the first minute has warmed
// every cache, the resident memory stays flat and no GL error is printed.
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace ruma::test {
namespace {

TEST(Soak, ThreeMinutesOfPlayKeepTheMemoryFlatAndPrintNoGlError)
{
    if (!haveDisplay()) GTEST_SKIP() << "no display";
    ProcessOptions options;
    options.workingDirectory = sourceDir();
    options.timeoutSeconds = 590;
    options.env = {{"TOVIK3D_GAME", gameBinary()}};
    ProcessResult run = runProcess({sourceDir() + "/scripts/soak", "3"}, options);
    std::printf("%s(%.0f s)\n", run.out.c_str(), run.seconds);   // the figures, for whoever reads the log
    ASSERT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_EQ(run.out.find("GL_"), std::string::npos) << run.out;

    std::vector<long> resident;   // at the start of play and after each minute
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        size_t at = line.find(", resident ");
        if (line.rfind("memory: ", 0) == 0 && at != std::string::npos) resident.push_back(std::stol(line.substr(at + 11)));
    }
    ASSERT_EQ(resident.size(), 4u) << run.out;
    long growth = *std::max_element(resident.begin() + 2, resident.end()) - resident[1];
    EXPECT_LE(growth, 2048) << "kB gained after the first minute";
}

} // namespace
} // namespace ruma::test
