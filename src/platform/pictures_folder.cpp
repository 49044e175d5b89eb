#include "platform/pictures_folder.h"

#include <cstdlib>
#include <fstream>

namespace ruma {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The XDG_PICTURES_DIR line of user-dirs.dirs: XDG_PICTURES_DIR="$HOME/Pictures".
std::string userDirsPictures(const std::string& home)
{
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty()) {
        if (home.empty()) return {};
        config = home + "/.config";
    }
    std::ifstream in(config + "/user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=";
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) {
            if (home.empty()) return {};
            value = home + value.substr(5);
        }
        // Only absolute paths and paths under $HOME are valid there.
        return !value.empty() && value.front() == '/' ? value : std::string();
    }
    return {};
}

} // namespace

std::string picturesFolder()
{
    std::string folder = environment("XDG_PICTURES_DIR");
    if (!folder.empty()) return folder;
    std::string home = environment("HOME");
    folder = userDirsPictures(home);
    if (!folder.empty()) return folder;
    return home.empty() ? std::string() : home + "/Pictures";
}

} // namespace ruma
