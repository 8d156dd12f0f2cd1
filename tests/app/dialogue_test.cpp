// The start-up dialogue's texts and what it says of odd answers, and the progress line of a long
// run. What the answers give is tested against a model of integer extraction, in
// dialogue_fuzz_test.cpp.

#include "app/dialogue.h"
#include "runs/progress.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

namespace {

std::string repeated(const std::string& sText, int iTimes) {
    std::string sAll;
    for (int i = 0; i < iTimes; i++) sAll += sText;
    return sAll;
}

TEST(AskChoicesTest, DialogueTextDoesNotDependOnAnswers) {
    std::ostringstream outGood, outBad;
    SChoices good, bad;
    std::istringstream inGood("1000 2 3"), inBad("what?");
    askChoices(inGood, outGood, good);
    askChoices(inBad, outBad, bad);
    EXPECT_EQ(outGood.str(), outBad.str());
    EXPECT_NE(outGood.str().find("20 - Vantor's - cosine -.\n\n\n\nPlease choose the type"),
              std::string::npos);
}

// What is said on standard error about the answers: nothing for good ones, one line where the
// reading stopped (with the text found, escaped, and the choices kept, or that nothing is saved),
// one line per answer out of range; and whether every answer was taken as given.
TEST(AskChoicesTest, TellsWhatAnswersGive) {
    const struct {
        std::string sInput;
        EAnswers answers;
        bool bAsGiven;
        std::string sSaid;
    } cases[] = {
        {"5000000 3 4\n", eAnswersAsTheyCome, true, ""},
        {"5000000 3 4\n", eAnswersAsGiven, true, ""},
        {"1,000,000\n3\n4\n", eAnswersAsTheyCome, false,
         "flames: iterations: \"1,000,000\" was read as 1\n"
         "flames: pattern: \",000,000\" is not a whole number; keeping pattern 1 and black & "
         "white\n"},
        {"1,000,000\n3\n4\n", eAnswersAsGiven, false,
         "flames: iterations: \"1,000,000\" was read as 1\n"
         "flames: pattern: \",000,000\" is not a whole number; nothing is saved\n"},
        {"5000000 3 4x", eAnswersAsGiven, false, "flames: colouring: \"4x\" was read as 4\n"},
        {"5000000 3x 99", eAnswersAsTheyCome, false,
         "flames: pattern: \"3x\" was read as 3\n"
         "flames: colouring: \"x\" is not a whole number; keeping black & white\n"},
        {std::string(100, '\0') + " 3 4", eAnswersAsGiven, false,
         "flames: iterations: \"" + repeated("\\x00", 21) +
             "...\" goes on past 64 characters; nothing is saved\n"},
        {"x", eAnswersAsTheyCome, false,
         "flames: iterations: \"x\" is not a whole number; keeping 1000000 iterations, "
         "pattern 1 and black & white\n"},
        {"500 7", eAnswersAsTheyCome, false,
         "flames: colouring: no answer; keeping black & white\n"},
        {"500 7   ", eAnswersAsGiven, false, "flames: colouring: no answer; nothing is saved\n"},
        {"99999999999999999999 3 4", eAnswersAsTheyCome, false,
         "flames: iterations: \"99999999999999999999\" is beyond the range of a whole number; "
         "keeping 1000000 iterations, pattern 1 and black & white\n"},
        {"5 3 \x1b[2Jabcdefghijklmnopqrstuvwxyz", eAnswersAsTheyCome, false,
         "flames: colouring: \"\\x1b[2Jabcdefghijklmnopq...\" is not a whole number; keeping "
         "black & white\n"},
        {"5 3 \xc3\xa9\n", eAnswersAsGiven, false,
         "flames: colouring: \"\\xc3\\xa9\" is not a whole number; nothing is saved\n"},
        {"0 21 6", eAnswersAsTheyCome, false,
         "flames: iterations: 0 iterations compute nothing; the picture stays black\n"
         "flames: pattern: 21 is no pattern (1 to 20); the point never moves and one pixel is "
         "lit\n"
         "flames: colouring: 6 is no colouring (1 to 5); nothing is coloured, the picture stays "
         "black\n"},
        {"-3 3 4", eAnswersAsGiven, false,
         "flames: iterations: -3 iterations compute nothing; nothing is saved\n"},
    };
    for (const auto& example : cases) {
        std::istringstream in(example.sInput);
        std::ostringstream out, err;
        SChoices choices;
        EXPECT_EQ(askChoices(in, out, err, choices, example.answers), example.bAsGiven)
            << '"' << example.sInput << '"';
        EXPECT_EQ(err.str(), example.sSaid) << '"' << example.sInput << '"';
    }
}

// A word of 4·10^7 characters keeps no more of itself than a short one: the process grows by far
// less than the word.
TEST(AskChoicesTest, LongWordCostsNoMemory) {
    class CEndlessWord : public std::streambuf {
        char cBlock[65536];
        long long iLeft = 40000000;

    protected:
        int_type underflow() override {
            if (iLeft <= 0) return traits_type::eof();
            std::memset(cBlock, 'w', sizeof cBlock);
            setg(cBlock, cBlock, cBlock + std::min<long long>(iLeft, sizeof cBlock));
            iLeft -= static_cast<long long>(sizeof cBlock);
            return traits_type::to_int_type(cBlock[0]);
        }
    };
    const pid_t iPid = fork();
    if (iPid == 0) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        CEndlessWord word;
        std::istream in(&word);
        std::ostringstream out, err;
        SChoices choices;
        askChoices(in, out, err, choices);
        getrusage(RUSAGE_SELF, &after);
        const bool bShort = err.str().size() < 200;
        _exit(bShort && after.ru_maxrss - before.ru_maxrss < 20 * 1024 ? 0 : 1);  // KiB
    }
    int iStatus = 0;
    waitpid(iPid, &iStatus, 0);
    EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0);
}


}  // namespace
