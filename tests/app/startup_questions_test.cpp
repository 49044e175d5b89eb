// The three start-up questions: words are read one per question, whatever the lines.
#include "app/startup.h"
#include "world/start_answers.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ruma {
namespace {

struct Asked {
    bool fullScreen;
    bool highRes;
    bool god;
    std::string printed;
    StartupAnswers answers;
};

Asked ask(const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out;
    Asked asked;
    asked.fullScreen = askStartupQuestions(in, out, asked.answers);
    asked.highRes = highResTextures;
    asked.god = godMode;
    asked.printed = out.str();
    return asked;
}

TEST(StartupQuestions, AsksTheThreeQuestionsInOrder)
{
    Asked asked = ask("n\nn\nn\n");
    EXPECT_EQ(asked.printed,
              "Do you want to start in FullScreen? (y/n)\n"
              "Do you want to use High-Res Textures? (y/n)\n"
              "Do you want to play in GODMODE? (y/n)\n");
    EXPECT_FALSE(asked.fullScreen);
    EXPECT_FALSE(asked.highRes);
    EXPECT_FALSE(asked.god);
}

TEST(StartupQuestions, OnlyALowerCaseYMeansYes)
{
    for (const char* no : {"Y", "yes", "n", "yy", "1", "ja"}) {
        Asked asked = ask(std::string(no) + "\n" + no + "\n" + no + "\n");
        EXPECT_FALSE(asked.fullScreen) << no;
        EXPECT_FALSE(asked.highRes) << no;
        EXPECT_FALSE(asked.god) << no;
    }
    Asked mixed = ask("n\ny\nY\n");
    EXPECT_FALSE(mixed.fullScreen);
    EXPECT_TRUE(mixed.highRes);
    EXPECT_FALSE(mixed.god);
}

TEST(StartupQuestions, ThreeWordsOnOneLineAnswerAllThree)
{
    Asked asked = ask("y y y\n");
    EXPECT_TRUE(asked.fullScreen);
    EXPECT_TRUE(asked.highRes);
    EXPECT_TRUE(asked.god);
    EXPECT_EQ(asked.answers.godMode, "y");
}

TEST(StartupQuestions, LeadingBlanksAndEmptyLinesAreSkipped)
{
    Asked asked = ask("\n\n   n\n\t\n  y   \n\ny");
    EXPECT_FALSE(asked.fullScreen);
    EXPECT_TRUE(asked.highRes);
    EXPECT_TRUE(asked.god);
}

TEST(StartupQuestions, ClosedInputLeavesTheAnswersEmptyAndMeansNo)
{
    Asked none = ask("");
    EXPECT_FALSE(none.fullScreen);
    EXPECT_FALSE(none.highRes);
    EXPECT_FALSE(none.god);
    EXPECT_TRUE(none.answers.fullScreen.empty());
    EXPECT_TRUE(none.answers.godMode.empty());

    // Input that ends after the first answer: the later ones stay empty.
    Asked one = ask("y");
    EXPECT_TRUE(one.fullScreen);
    EXPECT_FALSE(one.highRes);
    EXPECT_TRUE(one.answers.highRes.empty());
}

} // namespace
} // namespace ruma
