#include "platform/fatal.h"

#include "platform/load_ahead.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdio_ext.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace ruma {

void waitForEnter()
{
    // The rest of the line holding the last console answer is still in stdin's
    // buffer (standard input is read through C's stdio), and a terminal may hold
    // lines typed ahead: neither is the key press this waits for.
    __fpurge(stdin);
    if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
    std::string line;
    std::getline(std::cin, line);
}

void pauseAndExit()
{
    // The loading thread must not be mid-file while the process ends.
    if (loadAhead) loadAhead->stop();
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
