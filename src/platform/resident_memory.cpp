#include "platform/resident_memory.h"

#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace ruma {

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kilobytes = -1;
            status >> kilobytes;
            return kilobytes;
        }
    return -1;
}

double secondsSinceProcessStart()
{
    // The 22nd field of /proc/self/stat is the start in clock ticks since
    // boot; the command name before it may hold spaces, so count from its ')'.
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return 0.0;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    for (int index = 3; index < 22 && fields >> field; ++index) {
    }
    unsigned long long startTicks = 0;
    timespec now{};
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (!(fields >> startTicks) || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return 0.0;
    const double seconds = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 -
                           static_cast<double>(startTicks) / static_cast<double>(ticksPerSecond);
    return seconds > 0.0 ? seconds : 0.0;
}

void returnBigBuffersWhenFreed()
{
    // A fixed threshold also stops the library from raising it each time such
    // a buffer is freed, which is what turns them into pooled memory.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

} // namespace ruma
