// The viewer as a console program: the dialogue on standard output, a quiet standard error, a
// progress line on a terminal, and its end when there is no X display to open.

#include "viewer_test.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <string>

namespace {

// Everything the viewer writes to standard output for a run, line by line.
const std::string sTranscript =
    "\n"
    "\n"
    "----------------------------------------------\n"
    "--Welcome to Vemo's tests on fractal flames.--\n"
    "----------------------------------------------\n"
    "\n"
    "\n"
    "Please choose the number of iterations\n"
    "(recommended between 100000 and 100000000,\n"
    "for the colours 'rainbow' and 'all blues' even more).\n"
    "\n"
    "\n"
    "\n"
    "Please choose a pattern from the following list:\n"
    "1 - Sierpinsky's Triangle, functions by Vantor.\n"
    "2 - Cloud-like , example by Vantor.\n"
    "3 - linear & spiral & swirl , example by Vantor.\n"
    "4 - Vemo's try out 1.\n"
    "5 - Vemo's try out 2.\n"
    "The following are the original functions provided by Vantor.\n"
    "The used coefficients are taken from the above examples.\n"
    "These functions are not meant to be used separately,\n"
    "so the result is not very pleasing.\n"
    "6 - Vantor's - linear -.\n"
    "7 - Vantor's - sinusoidal -.\n"
    "8 - Vantor's - spherical -.\n"
    "9 - Vantor's - swirl -.\n"
    "10 - Vantor's - horseshoe -.\n"
    "11 - Vantor's - polar -.\n"
    "12 - Vantor's - handkerchief -.\n"
    "13 - Vantor's - heart -.\n"
    "14 - Vantor's - disc -.\n"
    "15 - Vantor's - spiral -.\n"
    "16 - Vantor's - hyperbolic -.\n"
    "17 - Vantor's - diamond -.\n"
    "18 - Vantor's - ex -.\n"
    "19 - Vantor's - fisheye -.\n"
    "20 - Vantor's - cosine -.\n"
    "\n"
    "\n"
    "\n"
    "Please choose the type of colouring from the following list:\n"
    "1 - Black & white.\n"
    "2 - Logarithmic grey scale.\n"
    "3 - Traffic light colours.\n"
    "4 - Rainbow colours.\n"
    "5 - All blues.\n"
    "\n"
    "\n"
    "\n"
    "calculating.......\n"
    "\n"
    "\n";

class ViewerConsoleTest : public ViewerTest {};

TEST_F(ViewerConsoleTest, AnswersOnOneLineGetWholeDialogueThenCalculating) {
    CViewerRun run(launchWith("1000 2 3\n"));
    run.waitForFrames(1, dFrameTimeout);
    run.stop();
    EXPECT_EQ(run.output(), sTranscript);
}

TEST_F(ViewerConsoleTest, StandardErrorStaysEmptyWhenNotTerminal) {
    CViewerRun run(launchWith("100000 3 4\n"));
    run.waitForFrames(1, dFrameTimeout);
    run.stop();
    EXPECT_EQ(run.errors(), "");
    EXPECT_EQ(run.output(), sTranscript);
}

TEST_F(ViewerConsoleTest, ProgressLineOnTerminalStandardError) {
    SViewerLaunch launch = launchWith("30000000 3 1\n");  // about a second: progress reports
    launch.vArgs = {"--threads", "1"};
    launch.bStderrOnTerminal = true;
    launch.bErrorsExpected = true;
    CViewerRun run(launch);
    run.waitForFrames(1, dFrameTimeout);
    run.stop();
    EXPECT_NE(run.errors().find('%'), std::string::npos) << run.errors();
    EXPECT_NE(run.errors().find("s saves it, q quits"), std::string::npos) << run.errors();
    EXPECT_EQ(run.output(), sTranscript);  // the progress stays off standard output
}

// Said before the questions, which are not asked: nobody answers them for nothing.
void expectExitWithMessage(CViewerRun& run) {
    const int iStatus = run.waitForExit(30);
    EXPECT_FALSE(WIFSIGNALED(iStatus)) << "signal " << WTERMSIG(iStatus);
    ASSERT_TRUE(WIFEXITED(iStatus));
    EXPECT_EQ(WEXITSTATUS(iStatus), 1);
    EXPECT_NE(run.errors().find("--save"), std::string::npos) << run.errors();
    EXPECT_EQ(run.output(), "");
    EXPECT_EQ(run.framesDrawn(), 0);
}

// A display number that has no lock file, no socket and no server that answers; empty if none
// of a thousand is free.
std::string unservedDisplay() {
    for (int iNumber = 4000; iNumber < 5000; iNumber++) {
        struct stat info;
        const std::string sNumber = std::to_string(iNumber);
        if (stat(("/tmp/.X" + sNumber + "-lock").c_str(), &info) == 0) continue;
        if (stat(("/tmp/.X11-unix/X" + sNumber).c_str(), &info) == 0) continue;
        if (!displayAnswers(":" + sNumber)) return ":" + sNumber;
    }
    return "";
}

TEST(ViewerNoDisplayTest, UnsetDisplayEndsWithMessage) {
    SViewerLaunch launch;
    launch.sAnswers = "1000 1 1\n";
    CViewerRun run(launch);
    expectExitWithMessage(run);
}

// Named in DISPLAY, or in GLUT's -display option.
TEST(ViewerNoDisplayTest, UnservedDisplayEndsWithMessage) {
    const std::string sUnserved = unservedDisplay();
    ASSERT_NE(sUnserved, "");
    for (const bool bOption : {false, true}) {
        SViewerLaunch launch;
        launch.sAnswers = "1000 1 1\n";
        if (bOption) launch.vArgs = {"-display", sUnserved};
        else launch.sDisplay = sUnserved;
        CViewerRun run(launch);
        expectExitWithMessage(run);
        EXPECT_NE(run.errors().find(sUnserved), std::string::npos) << run.errors();
    }
}

}  // namespace
