#include "app/command_line.h"

#include "app/game_data.h"

namespace ruma {

namespace {

// Two options that answer one question differently leave no answer to trust.
void giveAnswer(std::optional<bool>& answer, bool value, const char* yes, const char* no, std::string& error)
{
    if (answer && *answer != value) error = std::string(yes) + " and " + no + " answer the same question differently";
    answer = value;
}

} // namespace

CommandLine parseCommandLine(int argc, char** argv)
{
    CommandLine options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) {
                options.error = arg + " needs a file name";
                return;
            }
            target = argv[++i];
        };
        if (arg == "--script") value(options.scriptPath);
        else if (arg == "--record") value(options.recordPath);
        else if (arg == "--autopilot") value(options.autopilotPath);
        else if (arg == "--bench") options.bench = true;
        else if (arg == "--help" || arg == "-h") options.help = true;
        else if (arg == "--version") options.version = true;
        else if (arg == "--fullscreen" || arg == "--windowed")
            giveAnswer(options.answers.fullScreen, arg == "--fullscreen", "--fullscreen", "--windowed", options.error);
        else if (arg == "--high-res" || arg == "--low-res")
            giveAnswer(options.answers.highRes, arg == "--high-res", "--high-res", "--low-res", options.error);
        else if (arg == "--god" || arg == "--no-god")
            giveAnswer(options.answers.godMode, arg == "--god", "--god", "--no-god", options.error);
        else options.error = "unknown option " + arg;
        if (!options.error.empty()) break;
    }
    // A script or a route already is the whole input of its run, and plays it
    // the same each time: there is nothing live to journal.
    if (options.error.empty() && !options.recordPath.empty() &&
        (!options.scriptPath.empty() || !options.autopilotPath.empty()))
        options.error = "--record journals live play; it cannot go with --script or --autopilot";
    return options;
}

namespace {

std::string dataInUse()
{
    std::string folder = gameDataFolder();
    if (folder.empty()) return "  None of them holds Resources/ now.\n";
    return "  Started from here, it reads " + folder + "/Resources.\n";
}

} // namespace

std::string commandLineUsage()
{
    return std::string("usage: tovik3d [--fullscreen | --windowed] [--high-res | --low-res] [--god | --no-god]\n"
           "               [--script FILE | --autopilot FILE | --record FILE] [--bench] [--version]\n"
           "  Plays Tovik3D. The game asks three questions on standard input first;\n"
           "  an answer given as an option is not asked.\n"
           "  --fullscreen, --windowed  play on the whole screen, or in a window\n"
           "  --high-res, --low-res     high- or low-resolution course textures\n"
           "  --god, --no-god           god mode (no losing, Space flies, Left Shift boosts) or not\n"
           "  --script FILE  play the input script FILE instead of keyboard, mouse and gamepad\n"
           "  --record FILE  write the keyboard, mouse and gamepad input of this run to FILE\n"
           "  --autopilot FILE  let the route FILE play (walkto, jumpto, waitend and script commands)\n"
           "  --bench        print start-up and frame times, draw calls, allocations\n"
           "                 and peak memory when the game ends\n"
           "  --version      print the name and version\n"
           "  The game reads Resources/ in the working directory. Started elsewhere, it\n"
           "  uses the first of these that holds Resources/: $TOVIK3D_DATA, the program's\n"
           "  folder, ../share/tovik3d beside the program, and ") +
           installedDataFolder() + ".\n" + dataInUse();
}

std::string versionLine() { return std::string("Tovik3D ") + TOVIK3D_VERSION; }

} // namespace ruma
