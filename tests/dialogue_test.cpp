// The start-up dialogue's answers and the progress line of a long run.

#include "dialogue.h"
#include "peer.h"
#include "progress.h"

#include <sstream>
#include <string>

namespace {

struct SChoices {
    int iIterations, iPattern, iColourType;
};

SChoices answer(const std::string& sInput) {
    std::istringstream in(sInput);
    std::ostringstream out;
    CCalculation calc;
    askChoices(in, out, calc);
    return {calc.iIterations, calc.iPattern, calc.iColourType};
}

void expectChoices(const std::string& sInput, SChoices expected) {
    const SChoices actual = answer(sInput);
    EXPECT_EQ(actual.iIterations, expected.iIterations) << '"' << sInput << '"';
    EXPECT_EQ(actual.iPattern, expected.iPattern) << '"' << sInput << '"';
    EXPECT_EQ(actual.iColourType, expected.iColourType) << '"' << sInput << '"';
}

TEST(AskChoicesTest, AnswersOnOneLineOrSeveral) {
    expectChoices("1000 2 3\n", {1000, 2, 3});
    expectChoices("1000\n2\n3\n", {1000, 2, 3});
    expectChoices("  -7\t\t0\n 21 ", {-7, 0, 21});  // out-of-range choices pass unchanged
}

TEST(AskChoicesTest, FailedAnswerKeepsItsDefaultAndEveryLaterOne) {
    expectChoices("abc 2 3", {1000000, 1, 1});
    expectChoices("99999999999999999999 2 3", {1000000, 1, 1});  // beyond an int
    expectChoices("-2147483649 2 3", {1000000, 1, 1});
    expectChoices("500 x 3", {500, 1, 1});
    expectChoices("500 7 ?", {500, 7, 1});
    expectChoices("", {1000000, 1, 1});
    expectChoices("500", {500, 1, 1});  // end of input is a failed read
}

TEST(AskChoicesTest, DialogueTextDoesNotDependOnAnswers) {
    std::ostringstream outGood, outBad;
    CCalculation calc;
    std::istringstream inGood("1000 2 3"), inBad("what?");
    askChoices(inGood, outGood, calc);
    askChoices(inBad, outBad, calc);
    EXPECT_EQ(outGood.str(), outBad.str());
    EXPECT_NE(outGood.str().find("20 - Vantor's - cosine -.\n\n\n\nPlease choose the type"),
              std::string::npos);
}

TEST(ProgressLineTest, ShowsShareSpeedAndTimeLeft) {
    EXPECT_EQ(progressLine(25000000, 100000000, 2.0), "  25% | 12.5 M iterations/s | 6 s left");
    EXPECT_EQ(progressLine(0, 100, 0.0), "   0% | 0.0 M iterations/s | 0 s left");
    EXPECT_EQ(progressLine(2147483647, 2147483647, 10.0),
              " 100% | 214.7 M iterations/s | 0 s left");
}

}  // namespace
