#include "support/process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace ruma::test {

namespace fs = std::filesystem;

ProcessResult runProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
{
    ProcessResult result;
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) return result;

    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
        if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(127);
        for (const auto& name : options.unsetEnv) unsetenv(name.c_str());
        for (const auto& [name, value] : options.env) setenv(name.c_str(), value.c_str(), 1);
        setpgid(0, 0);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);

    // Feed the input, then close it so the child sees the end of input.
    signal(SIGPIPE, SIG_IGN);
    size_t written = 0;
    while (written < options.input.size()) {
        ssize_t n = write(inPipe[1], options.input.data() + written, options.input.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    close(inPipe[1]);

    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (elapsed > options.timeoutSeconds) {
            result.timedOut = true;
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, 200) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
            }
        }
    }
    for (auto& f : fds)
        if (f.fd >= 0) close(f.fd);

    int status = 0;
    waitpid(pid, &status, 0);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.timedOut && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
}

ScratchDir::ScratchDir(const std::string& name)
{
    static int counter = 0;
    path_ = buildDir() + "/test-scratch/" + name + "-" + std::to_string(getpid()) + "-" +
            std::to_string(counter++);
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    if (!std::getenv("TOVIK3D_KEEP_SCRATCH")) fs::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& relative, const std::string& contents) const
{
    fs::path p = fs::path(path_) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << contents;
}

InScratchDirectory::InScratchDirectory(const std::string& name) : scratch_(name), previous_(fs::current_path())
{
    fs::current_path(scratch_.path());
}

InScratchDirectory::~InScratchDirectory() { fs::current_path(previous_); }

std::string sourceDir() { return TOVIK3D_SOURCE_DIR; }
std::string buildDir() { return TOVIK3D_BUILD_DIR; }
std::string gameBinary() { return TOVIK3D_BINARY; }

bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::set<std::string> filesUnder(const std::string& folder)
{
    std::set<std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory()) files.insert(fs::relative(entry.path(), folder).generic_string());
    return files;
}

} // namespace ruma::test
