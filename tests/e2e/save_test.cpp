// Pictures that outlive the window: --save without any display, the s key in the window, the
// keys that end the program, and command lines that are wrong.

#include "computation.h"
#include "png_io.h"
#include "viewer_test.h"

#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

namespace {

SViewerLaunch headless(const std::string& sAnswers, const std::vector<std::string>& vArgs) {
    SViewerLaunch launch;  // no DISPLAY at all
    launch.sAnswers = sAnswers;
    launch.vArgs = vArgs;
    return launch;
}

TEST(SaveTest, SavedPictureIsTheComputationOfItsSeed) {
    CScratchFolder folder;
    for (const char* sName : {"first.png", "second.png"}) {
        CViewerRun run(headless("200000 3 4\n", {"--seed", "7", "--save", folder / sName}));
        expectExitStatus(run.waitForExit(dFrameTimeout), 0);
        EXPECT_EQ(run.errors(), "");
        EXPECT_NE(run.output().find("calculating.......\n\n\n"), std::string::npos);
    }
    std::map<std::string, std::string> text;
    const SPicture picture = readPicture(folder / "first.png", &text);
    EXPECT_TRUE(picture == readPicture(folder / "second.png"));
    ASSERT_TRUE(hasViewerSize(picture));

    // Exactly the computation's colours, each rounded to 8 bits, top row first.
    const std::vector<float> vColours = computedColours({200000, 3, 4}, "7");
    EXPECT_TRUE(showsComputation(picture, vColours, 0));
    EXPECT_GT(litPixels(picture), 1000);

    EXPECT_EQ(text["Iterations"], "200000");
    EXPECT_EQ(text["Pattern"], "3");
    EXPECT_EQ(text["Colouring"], "4");
    EXPECT_EQ(text["Seed"], "7");
    EXPECT_EQ(text["Software"].rfind("flames ", 0), 0u) << text["Software"];
    EXPECT_EQ(text["Description"],
              "200000 iterations of pattern 3, linear & spiral & swirl, in rainbow colours, seed 7");
    EXPECT_EQ(folder.names().size(), 2u);  // no temporary file left
}

// Found before the dialogue: with 2000000000 iterations asked, a late failure would take minutes.
TEST(SaveTest, UnwritablePlaceFailsAtOnceAndLeavesNoFile) {
    CScratchFolder folder;
    const std::string sMissingFolder = folder / "no such folder/flame.png";
    mkfifo((folder / "fifo").c_str(), 0644);  // opened, it would block the viewer
    for (const std::string& sPath : {sMissingFolder, folder.path.string(), folder / "fifo"}) {
        CViewerRun run(headless("2000000000 3 4\n", {"--save", sPath}));
        expectExitStatus(run.waitForExit(dEndTimeout), 1);
        EXPECT_EQ(run.output(), "");
        EXPECT_EQ(run.errors().rfind("flames: " + sPath + ": ", 0), 0u) << run.errors();
        EXPECT_EQ(run.errors().find('\n'), run.errors().size() - 1) << run.errors();
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"fifo"});
}

// Each ends with status 1 and its reason on standard error, and no picture: odd answers to a
// run that saves (an endless word among them), a standard output that takes nothing (a pipe
// nobody reads among them), a file-size limit.
TEST(SaveTest, ScriptHearsEveryFailure) {
    const std::string sRedirected = "exec \"$0\" \"$@\" ";
    const struct {
        const char* sAnswers;
        std::vector<std::string> vWrapper;
        std::vector<std::string> vArgs;  // --save FILE follows, but after --help or --version
        const char* sSaid;
    } cases[] = {
        {"1,000,000\n3\n4\n", {}, {}, "flames: pattern: \",000,000\" is not a whole number"},
        {"1000 3", {}, {}, "flames: colouring: no answer; nothing is saved\n"},
        {"1000 21 4", {}, {}, "flames: pattern: 21 is no pattern (1 to 20); nothing is saved\n"},
        {"1000 3 4", {"sh", "-c", sRedirected + ">/dev/full"}, {},
         "flames: standard output: No space left on device\n"},
        {"1000 3 4", {"sh", "-c", sRedirected + ">&-"}, {},
         "flames: standard output: Bad file descriptor\n"},
        {"", {"sh", "-c", sRedirected + ">/dev/full"}, {"--version"},
         "flames: standard output: No space left on device\n"},
        {"100000 3 4", {"sh", "-c", "ulimit -f 1; " + sRedirected}, {}, ": File too large\n"},
        {"", {"sh", "-c", sRedirected + "</dev/zero"}, {},
         "...\" goes on past 64 characters; nothing is saved\n"},
        {"", {"perl", "-e", "pipe(R, W); close R; open(STDOUT, '>&', W); exec @ARGV"},
         {"--help"}, "flames: standard output: Broken pipe\n"},
#ifndef __SANITIZE_ADDRESS__  // whose shadow memory no address-space limit leaves room for
        {"", {"sh", "-c", "ulimit -v 800000; " + sRedirected},
         {"--size", "16384x16384", "--pattern", "3", "--iterations", "1000"},
         "flames: a picture of 16384 x 16384 pixels: not enough memory\n"},
#endif
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sSaid);
        CScratchFolder folder;
        std::vector<std::string> vArgs = example.vArgs;
        const bool bSaves = vArgs.empty() || (vArgs[0] != "--help" && vArgs[0] != "--version");
        if (bSaves) vArgs.insert(vArgs.end(), {"--save", folder / "flame.png"});
        SViewerLaunch launch = headless(example.sAnswers, vArgs);
        launch.vWrapper = example.vWrapper;
        CViewerRun run(launch);
        expectExitStatus(run.waitForExit(dFrameTimeout), 1);
        EXPECT_NE(run.errors().find(example.sSaid), std::string::npos) << run.errors();
        EXPECT_EQ(run.errors().find("calculating"), std::string::npos);
        EXPECT_TRUE(folder.names().empty());
    }
}

TEST(SaveTest, WrongCommandLineEndsWithStatusTwoAndNothingOnStandardOutput) {
    const std::vector<std::vector<std::string>> vCommandLines = {
        {"--bogus"}, {"--seed", "12ab"}, {"--seed", "4294967296"}, {"--save"}, {"--help=x"},
        {"-seed", "5", "--save", "x.png"}, {"stray"}, {"-display"}, {"--threads", "0"}};
    for (const std::vector<std::string>& vArgs : vCommandLines) {
        CViewerRun run(headless("1000 1 1\n", vArgs));
        expectExitStatus(run.waitForExit(dEndTimeout), 2);
        EXPECT_EQ(run.output(), "");
        EXPECT_NE(run.errors().find("--help"), std::string::npos) << run.errors();
    }
}

class ViewerKeysTest : public ViewerTest {};

// The file holds what the window shows, which is what --save makes of the same seed.
TEST_F(ViewerKeysTest, SKeySavesPictureShownUnderNewName) {
    CScratchFolder folder;
    CViewerRun run(launchWith("200000 3 4\n", {"--seed", "7"}, folder.path));
    const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout);
    pServer->pressKey(shot.window, 's');
    run.waitForOutput("saved flame-p3-c4-200000-7.png\n", 10);
    pServer->pressKey(shot.window, 's');
    run.waitForOutput("saved flame-p3-c4-200000-7-2.png\n", 10);
    EXPECT_EQ(folder.names().size(), 2u);  // and no other name left behind

    const SPicture saved = readPicture(folder / "flame-p3-c4-200000-7.png");
    ASSERT_TRUE(hasViewerSize(saved));
    EXPECT_EQ(differingPixels(saved, shot.picture), 0);
    CViewerRun save(headless("200000 3 4\n", {"--seed", "7", "--save", folder / "saved.png"}));
    expectExitStatus(save.waitForExit(dFrameTimeout), 0);
    EXPECT_EQ(differingPixels(readPicture(folder / "saved.png"), shot.picture), 0);
}

TEST_F(ViewerKeysTest, QAndEscapeEndWithStatusZero) {
    for (const char cKey : {'q', '\033'}) {
        CViewerRun run(launchWith("1000 1 1\n"));
        const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout);
        pServer->pressKey(shot.window, cKey);
        expectExitStatus(run.waitForExit(dEndTimeout), 0);
    }
}

}  // namespace
