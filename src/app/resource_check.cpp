#include "app/resource_check.h"

#include "platform/file_manifest.h"
#include "world/world.h"

#include <chrono>

namespace ruma {

double warnAboutDamagedResources(std::ostream& out)
{
    auto start = std::chrono::steady_clock::now();
    std::vector<ManifestEntry> entries;
    if (readManifest("Resources/manifest.txt", entries))
        for (const std::string& line : damagedFiles("Resources", entries, isUnreadResource)) out << line << '\n';
    out.flush();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace ruma
