// The one way a load failure ends the game: the message, a wait for the
// player to read it (the console's "press a key"), then exit status -1.
#pragma once

#include <string>

namespace ruma {

// Flushes standard output, waits for one line on standard input (returns at
// once on end of input, so a game started without a console never hangs) and
// exits with status -1.
[[noreturn]] void pauseAndExit();

// Prints message and a line end on standard output, then pauseAndExit().
[[noreturn]] void fatalError(const std::string& message);

// The wait alone: discards input already typed ahead, then reads one line.
void waitForEnter();

} // namespace ruma
