#include "platform/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace ruma {

void waitForEnter()
{
    // The rest of the line holding the last console answer is still buffered;
    // skip it so that the wait is for a fresh key press.
    std::streamsize buffered = std::cin.rdbuf()->in_avail();
    if (buffered > 0) std::cin.ignore(buffered);
    std::string line;
    std::getline(std::cin, line);
}

void pauseAndExit()
{
    std::cout.flush();
    std::fflush(stdout);
    waitForEnter();
    std::exit(-1);
}

void fatalError(const std::string& message)
{
    std::cout << message << std::endl;
    pauseAndExit();
}

} // namespace ruma
