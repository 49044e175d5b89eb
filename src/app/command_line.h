// Command-line options. A player runs the game without any; tests and
// developers use them to replay input and save pictures.
#pragma once

#include <optional>
#include <string>

namespace ruma {

// Answers to the start-up questions given as options; an empty one is asked.
struct GivenAnswers {
    std::optional<bool> fullScreen;   // --fullscreen / --windowed
    std::optional<bool> highRes;      // --high-res / --low-res
    std::optional<bool> godMode;      // --god / --no-god
};

struct CommandLine {
    std::string scriptPath;   // --script FILE: play this input script instead of the keyboard
    std::string recordPath;   // --record FILE: journal the live input to FILE
    std::string autopilotPath;   // --autopilot FILE: let a route play the game
    bool bench = false;          // --bench: print the real frame times at the end
    bool help = false;
    bool version = false;      // --version: print the name and version
    GivenAnswers answers;
    std::string error;        // set when the options cannot be understood
};

CommandLine parseCommandLine(int argc, char** argv);
std::string commandLineUsage();
// "Tovik3D" and the version this build was made as.
std::string versionLine();

} // namespace ruma
