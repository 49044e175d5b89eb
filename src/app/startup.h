// Start-up: the three console questions, the window and GL context, and the
// run of the whole game from main().
#pragma once

#include "app/command_line.h"

#include <iosfwd>
#include <string>

namespace ruma {

// The frame loop continues while this is true.
extern bool running;
// highResTextures and godMode, the answers the world reads, live in world/start_answers.h.

// Writes the question and a line end, then reads one whitespace-delimited word
// into answer (left empty when the input is closed). Yes is exactly "y".
bool askYesNo(std::istream& in, std::ostream& out, const char* question, std::string& answer);

// The three answers, kept by main() for the life of the run.
struct StartupAnswers {
    std::string fullScreen;
    std::string highRes;
    std::string godMode;
};

// Asks the three questions in order, except those answered on the command
// line, sets highResTextures and godMode and returns the full-screen answer.
bool askStartupQuestions(std::istream& in, std::ostream& out, StartupAnswers& answers,
                         const GivenAnswers& given = {});

// Creates the window and GL context, prints the GL information and sets the
// fixed GL state. Ends the game on failure.
void initWindow(bool fullScreen);

// The whole program: options, questions, window, world, loop, shutdown.
int runGame(int argc, char** argv);

} // namespace ruma
