#include "support/game_run.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ruma::test {

GameRun runGameWith(const std::string& kind, const std::string& text, const ScratchDir& dir,
                    const GameRunOptions& runOptions)
{
    std::string body = text;
    for (size_t at = body.find("@DIR@"); at != std::string::npos; at = body.find("@DIR@"))
        body.replace(at, 5, dir.path());
    std::string file = dir.file("input.txt");
    dir.write("input.txt", body);

    ProcessOptions options;
    options.input = runOptions.answers;
    options.workingDirectory = runOptions.workingDirectory;
    options.timeoutSeconds = runOptions.timeoutSeconds;
    options.env = runOptions.env;
    options.unsetEnv = runOptions.unsetEnv;
    GameRun run;
    run.dir = dir.path();
    std::vector<std::string> argv = {runOptions.binary};
    argv.insert(argv.end(), runOptions.arguments.begin(), runOptions.arguments.end());
    argv.insert(argv.end(), {kind, file});
    run.process = runProcess(argv, options);
    return run;
}

void keepForDocs(const std::string& shot, const std::string& name)
{
    const char* wanted = std::getenv("TOVIK3D_WRITE_DOCS");
    if (!wanted || std::string(wanted) != "1") return;
    std::filesystem::create_directories(sourceDir() + "/docs");
    runProcess({"convert", shot, "-resize", "640x360", "-strip", sourceDir() + "/docs/" + name});
}

std::string linkedResources(const ScratchDir& dir, const std::set<std::string>& own)
{
    namespace fs = std::filesystem;
    fs::path from = fs::path(sourceDir()) / "Resources";
    fs::path to = fs::path(dir.path()) / "Resources";
    fs::create_directories(to);
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        fs::path relative = fs::relative(entry.path(), from);
        if (entry.is_directory()) fs::create_directories(to / relative);
        else if (!own.count(relative.generic_string())) fs::create_symlink(entry.path(), to / relative);
    }
    return to.string();
}

std::string finalStateLine(const std::string& out)
{
    size_t at = out.rfind("final state: ");
    return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
}

std::string routeText(const std::string& name)
{
    return readFile(sourceDir() + "/tests/app/routes/" + name);
}

} // namespace ruma::test
