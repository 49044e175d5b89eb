// A folder's files with their sizes and SHA-256 checksums, one "PATH SIZE HEX"
// line each (PATH relative to the folder). The asset tools write it beside the
// files they make; the game compares what it is about to read against it, so a
// truncated or overwritten file is named instead of loading as a broken picture.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ruma {

struct ManifestEntry {
    std::string path;          // relative to the folder, with '/' separators
    std::uintmax_t size = 0;
    std::string sha256;        // 64 lowercase hex digits
};

// SHA-256 of a whole file in lowercase hex; false when it cannot be read.
bool sha256OfFile(const std::string& path, std::string& hex);

// The manifest text of every regular file under root (except the manifest
// itself), sorted by path, so the same folder always gives the same bytes.
std::string manifestOf(const std::string& root, const std::string& manifestName);

// Reads a manifest; false when it cannot be opened. Lines that are not
// "PATH SIZE HEX" (comments, junk) are passed over.
bool readManifest(const std::string& path, std::vector<ManifestEntry>& entries);

// "ROOT/PATH is damaged ..." or "ROOT/PATH is missing ..." for every entry
// whose file differs or is absent; entries for which skip answers true are
// not looked at. Sizes are compared first, so only files of the right size are read.
std::vector<std::string> damagedFiles(const std::string& root, const std::vector<ManifestEntry>& entries,
                                      const std::function<bool(const std::string&)>& skip);

} // namespace ruma
