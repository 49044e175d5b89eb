// The three start-up questions: words are read one per question, whatever the lines.
#include "app/startup.h"
#include "world/start_answers.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ruma {
namespace {

// The three answers as "full screen, high res, god mode", e.g. "nyn".
std::string ask(const std::string& input, std::string* printed = nullptr, StartupAnswers* kept = nullptr)
{
    std::istringstream in(input);
    std::ostringstream out;
    StartupAnswers answers;
    bool fullScreen = askStartupQuestions(in, out, answers);
    if (printed) *printed = out.str();
    if (kept) *kept = answers;
    return std::string() + (fullScreen ? 'y' : 'n') + (highResTextures ? 'y' : 'n') + (godMode ? 'y' : 'n');
}

TEST(StartupQuestions, OnlyALowerCaseYWordMeansYes)
{
    std::string printed;
    EXPECT_EQ(ask("n\ny\nY\n", &printed), "nyn");
    EXPECT_EQ(printed,
              "Do you want to start in FullScreen? (y/n)\n"
              "Do you want to use High-Res Textures? (y/n)\n"
              "Do you want to play in GODMODE? (y/n)\n");
    for (std::string no : {"Y", "yes", "yy"}) EXPECT_EQ(ask(no + "\n" + no + "\n" + no + "\n"), "nnn") << no;
    // Words, not lines: three on one line answer all three; blanks and empty lines are skipped.
    StartupAnswers kept;
    EXPECT_EQ(ask("y y y\n", nullptr, &kept), "yyy");
    EXPECT_EQ(kept.godMode, "y");
    EXPECT_EQ(ask("\n\n   n\n\t\n  y   \n\ny"), "nyy");
}

TEST(StartupQuestions, ClosedInputLeavesTheAnswersEmptyAndMeansNo)
{
    StartupAnswers kept;
    EXPECT_EQ(ask("", nullptr, &kept), "nnn");
    EXPECT_TRUE(kept.fullScreen.empty());
    EXPECT_TRUE(kept.godMode.empty());
    EXPECT_EQ(ask("y", nullptr, &kept), "ynn");   // ends after the first answer
    EXPECT_TRUE(kept.highRes.empty());
}

} // namespace
} // namespace ruma
