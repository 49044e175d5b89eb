// Runs a program as a child process, feeding standard input and capturing its
// output, exit status and time, with a time limit.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace ruma::test {

struct ProcessResult {
    int exitStatus = -1;     // 0..255, or -1 when killed by a signal or the time limit
    bool timedOut = false;
    std::string out;         // standard output
    std::string err;         // standard error
    double seconds = 0.0;
};

struct ProcessOptions {
    std::string workingDirectory;               // empty: the current one
    std::string input;                          // written to standard input, then closed
    std::map<std::string, std::string> env;     // added to (or replacing in) the environment
    std::vector<std::string> unsetEnv;          // removed from the environment
    double timeoutSeconds = 120.0;
};

ProcessResult runProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// A fresh scratch directory under the build tree, removed by the destructor.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }
    void write(const std::string& relative, const std::string& contents) const;

private:
    std::string path_;
};

// Makes a fresh scratch folder the working directory (where the game looks
// for Resources/) until destroyed.
class InScratchDirectory {
public:
    explicit InScratchDirectory(const std::string& name);
    ~InScratchDirectory();
    const ScratchDir& scratch() const { return scratch_; }

private:
    ScratchDir scratch_;
    std::string previous_;
};

std::string sourceDir();
std::string buildDir();
std::string gameBinary();
bool haveDisplay();
std::string readFile(const std::string& path);
// Every file (not folder) under folder, by its path relative to it; none when it is missing.
std::set<std::string> filesUnder(const std::string& folder);

} // namespace ruma::test
