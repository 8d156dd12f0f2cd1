// The start-up dialogue's texts and what it says of odd answers, and the progress line of a long
// run. What the answers give is tested against a model of integer extraction, in
// dialogue_fuzz_test.cpp.

#include "dialogue.h"
#include "peer.h"
#include "progress.h"

#include <sstream>
#include <string>

namespace {

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

// What is said on standard error about the answers: nothing for good ones, one line where the
// reading stopped (with the text found and the choices kept), one line per answer out of range.
TEST(AskChoicesTest, TellsWhatAnswersGive) {
    const struct {
        const char* sInput;
        const char* sSaid;
    } cases[] = {
        {"5000000 3 4\n", ""},
        {"1,000,000\n3\n4\n",
         "flames: pattern: \",000,000\" is not a whole number; keeping pattern 1 and black & "
         "white\n"},
        {"x", "flames: iterations: \"x\" is not a whole number; keeping 1000000 iterations, "
              "pattern 1 and black & white\n"},
        {"500 7", "flames: colouring: no answer; keeping black & white\n"},
        {"99999999999999999999 3 4",
         "flames: iterations: \"99999999999999999999\" is beyond the range of a whole number; "
         "keeping 1000000 iterations, pattern 1 and black & white\n"},
        {"5 3 \x1b[2Jabcdefghijklmnopqrstuvwxyz",
         "flames: colouring: \"?[2Jabcdefghijklmnopq...\" is not a whole number; keeping black "
         "& white\n"},
        {"0 21 6",
         "flames: iterations: 0 iterations compute nothing; the picture stays black\n"
         "flames: pattern: 21 is no pattern (1 to 20); the point never moves and one pixel is "
         "lit\n"
         "flames: colouring: 6 is no colouring (1 to 5); nothing is coloured, the picture stays "
         "black\n"},
    };
    for (const auto& example : cases) {
        std::istringstream in(example.sInput);
        std::ostringstream out, err;
        CCalculation calc;
        askChoices(in, out, err, calc);
        EXPECT_EQ(err.str(), example.sSaid) << '"' << example.sInput << '"';
    }
}

TEST(ProgressLineTest, ShowsShareSpeedAndTimeLeft) {
    EXPECT_EQ(progressLine(25000000, 100000000, 2.0), "  25% | 12.5 M iterations/s | 6 s left");
    EXPECT_EQ(progressLine(0, 100, 0.0), "   0% | 0.0 M iterations/s | 0 s left");
    EXPECT_EQ(progressLine(2147483647, 2147483647, 10.0),
              " 100% | 214.7 M iterations/s | 0 s left");
}

}  // namespace
