#include "platform/data_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace ruma {

std::vector<std::string> dataFolderCandidates(const DataFolderPlaces& places, const std::string& name)
{
    std::vector<std::string> candidates;
    auto add = [&](const fs::path& folder) {
        if (folder.empty()) return;
        std::string text = folder.lexically_normal().generic_string();
        if (text.size() > 1 && text.back() == '/') text.pop_back();
        if (std::find(candidates.begin(), candidates.end(), text) == candidates.end()) candidates.push_back(text);
    };
    add(places.fromEnvironment);
    if (!places.executableFolder.empty()) {
        add(places.executableFolder);
        add(fs::path(places.executableFolder) / ".." / "share" / name);
    }
    add(places.installedFolder);
    return candidates;
}

std::string findDataFolder(const std::vector<std::string>& candidates, const std::string& marker)
{
    for (const std::string& folder : candidates) {
        std::error_code error;
        if (fs::is_regular_file(fs::path(folder) / marker, error)) return folder;
    }
    return {};
}

std::string executableFolder()
{
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

} // namespace ruma
