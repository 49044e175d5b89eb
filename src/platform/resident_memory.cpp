#include "platform/resident_memory.h"

#include <malloc.h>

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

void returnBigBuffersWhenFreed()
{
    // A fixed threshold also stops the library from raising it each time such
    // a buffer is freed, which is what turns them into pooled memory.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

} // namespace ruma
