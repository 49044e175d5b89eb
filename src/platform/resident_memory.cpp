#include "platform/resident_memory.h"

#include <fstream>
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

} // namespace ruma
