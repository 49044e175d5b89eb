#include "platform/file_manifest.h"

#include <nettle/sha2.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace ruma {

namespace {

bool isHexDigest(const std::string& s)
{
    return s.size() == 64 &&
           std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

} // namespace

bool sha256OfFile(const std::string& path, std::string& hex)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    sha256_ctx context;
    sha256_init(&context);
    unsigned char buffer[1 << 16];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) sha256_update(&context, got, buffer);
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) return false;
    unsigned char digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    static const char* const kDigits = "0123456789abcdef";
    hex.clear();
    for (unsigned char byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return true;
}

std::string manifestOf(const std::string& root, const std::string& manifestName)
{
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) {
            std::string relative = fs::relative(entry.path(), root).generic_string();
            if (relative != manifestName) paths.push_back(relative);
        }
    std::sort(paths.begin(), paths.end());
    std::ostringstream out;
    out << "# Every file of this folder with its size in bytes and SHA-256; the game warns about any that differ.\n";
    for (const std::string& relative : paths) {
        std::string hex;
        if (!sha256OfFile(root + "/" + relative, hex)) hex = "unreadable";
        out << relative << ' ' << fs::file_size(root + "/" + relative) << ' ' << hex << '\n';
    }
    return out.str();
}

bool readManifest(const std::string& path, std::vector<ManifestEntry>& entries)
{
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        ManifestEntry entry;
        std::string extra;
        if (words >> entry.path >> entry.size >> entry.sha256 && !(words >> extra) && isHexDigest(entry.sha256))
            entries.push_back(entry);
    }
    return true;
}

std::vector<std::string> damagedFiles(const std::string& root, const std::vector<ManifestEntry>& entries,
                                      const std::function<bool(const std::string&)>& skip)
{
    std::vector<std::string> lines;
    for (const ManifestEntry& entry : entries) {
        if (skip && skip(entry.path)) continue;
        std::string path = root + "/" + entry.path;
        std::error_code error;
        if (!fs::exists(path, error)) {
            lines.push_back(path + " is missing; the game may look or play wrong");
            continue;
        }
        std::string hex;
        if (!fs::is_regular_file(path, error) || fs::file_size(path, error) != entry.size || !sha256OfFile(path, hex) || hex != entry.sha256)
            lines.push_back(path + " is damaged (size or checksum differs); the game may look or play wrong");
    }
    return lines;
}

} // namespace ruma
