// Exploring: answers on the command line, a saved picture made again by --load at its size or
// another, and the browsing keys, whose pictures are the ones --save makes of what they record.

#include "png_io.h"
#include "viewer_test.h"

#include <X11/keysym.h>

#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Chunks = std::map<std::string, std::string>;

SViewerLaunch headless(const std::vector<std::string>& vArgs) {
    SViewerLaunch launch;  // no DISPLAY, and nothing on standard input
    launch.vArgs = vArgs;
    return launch;
}

// --save of what a file's chunks record, into sPath: its picture and chunks.
SPicture savedByOptions(const Chunks& recorded, const std::string& sPath, Chunks& text) {
    const bool bFlame = recorded.count("Functions") > 0;
    CViewerRun run(headless({"--iterations", recorded.at("Iterations"),
                             bFlame ? "--flame" : "--pattern",
                             recorded.at(bFlame ? "Functions" : "Pattern"), "--colouring",
                             recorded.at("Colouring"), "--seed", recorded.at("Seed"), "--size",
                             recorded.at("Size"), "--view", recorded.at("View"), "--save", sPath}));
    expectExitStatus(run.waitForExit(dFrameTimeout), 0);
    return readPicture(sPath, &text);
}

// The answers on the command line ask nothing; --load makes the same picture, and at another
// size the same framing.
TEST(ExploreTest, LoadMakesTheSavedPictureAgain) {
    CScratchFolder folder;
    CViewerRun first(headless({"--iterations", "300000", "--pattern", "3", "--colouring", "4",
                               "--seed", "7", "--size", "320x240", "--fit", "--save",
                               folder / "first.png"}));
    expectExitStatus(first.waitForExit(dFrameTimeout), 0);
    EXPECT_EQ(first.output(), "calculating.......\n\n\n");  // no dialogue
    Chunks text, again, larger;
    const SPicture picture = readPicture(folder / "first.png", &text);
    EXPECT_EQ(text["Size"], "320x240");
    EXPECT_GT(litPixels(picture), 5000);

    CViewerRun load(headless({"--load", folder / "first.png", "--save", folder / "again.png"}));
    expectExitStatus(load.waitForExit(dFrameTimeout), 0);
    EXPECT_TRUE(readPicture(folder / "again.png", &again) == picture);
    EXPECT_EQ(again["View"], text["View"]);

    CViewerRun big(headless({"--load", folder / "first.png", "--size", "640x480", "--save",
                             folder / "larger.png"}));
    expectExitStatus(big.waitForExit(dFrameTimeout), 0);
    const SPicture bigger = readPicture(folder / "larger.png", &larger);
    EXPECT_EQ(larger["View"], text["View"]);
    EXPECT_EQ(bigger.iWidth, 640);
    Chunks direct;
    EXPECT_TRUE(savedByOptions(larger, folder / "direct.png", direct) == bigger);
}

// A random flame records its seed and its functions, and no pattern; loaded, it is drawn again.
TEST(ExploreTest, RandomFlameIsMadeAgainFromItsFunctions) {
    CScratchFolder folder;
    CViewerRun first(headless({"--random", "3", "--iterations", "200000", "--colouring", "4",
                               "--seed", "7", "--save", folder / "flame.png"}));
    expectExitStatus(first.waitForExit(dFrameTimeout), 0);
    Chunks text, again;
    const SPicture picture = readPicture(folder / "flame.png", &text);
    EXPECT_EQ(text["Flame"], "3");
    EXPECT_EQ(text.count("Pattern"), 0u);
    EXPECT_GT(litPixels(picture), 5000);
    CViewerRun load(headless({"--load", folder / "flame.png", "--save", folder / "again.png"}));
    expectExitStatus(load.waitForExit(dFrameTimeout), 0);
    EXPECT_TRUE(readPicture(folder / "again.png", &again) == picture);
    EXPECT_EQ(again["Functions"], text["Functions"]);
}

TEST(ExploreTest, LoadRefusesWhatIsNoSavedPicture) {
    CScratchFolder folder;
    writePng(folder / "bare.png", SPicture{2, 1, std::vector<unsigned char>(6, 0)});
    std::ofstream(folder / "text.png") << "not a picture";
    const struct {
        std::string sFile;
        const char* sReason;
    } cases[] = {
        {folder / "bare.png", "no Iterations chunk: not a picture saved by flames"},
        {folder / "text.png", "not a PNG file"},
        {folder / "missing.png", "No such file or directory"},
    };
    for (const auto& example : cases) {
        CViewerRun run(headless({"--load", example.sFile, "--save", folder / "out.png"}));
        expectExitStatus(run.waitForExit(dFrameTimeout), 1);
        EXPECT_EQ(run.errors(), "flames: " + example.sFile + ": " + example.sReason + "\n");
    }
}

class ViewerBrowseTest : public ViewerTest {};

// Each key starts a run of its own; s saves it once it has finished, and --save of what the
// file records gives the very same picture.
TEST_F(ViewerBrowseTest, BrowsedPicturesAreWhatSaveMakes) {
    const struct {
        unsigned long uKey;
        const char* sChanged;  // the chunk the key changes
    } keys[] = {{'n', "Pattern"}, {']', "Iterations"}, {'=', "View"}, {XK_Right, "View"},
                {'f', "View"}, {'r', "Functions"}};
    CScratchFolder folder;
    CViewerRun run(launchWith("", {"--iterations", "20000", "--pattern", "3", "--colouring", "4",
                                   "--seed", "7", "--size", "400x300"},
                              folder.path));
    const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout);
    Chunks before = {{"Pattern", "3"}, {"Iterations", "20000"}, {"View", "-1,-1,1,1"}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.sChanged);
        const size_t iSaved = run.output().size();
        pServer->pressKeySymbol(shot.window, key.uKey);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // runs of 2·10^5 at most
        pServer->pressKey(shot.window, 's');
        run.waitForOutput(".png\n", 10, iSaved);
        const std::string sLine = run.output().substr(iSaved);
        ASSERT_EQ(sLine.rfind("saved ", 0), 0u) << sLine;
        Chunks text, direct;
        const SPicture browsed = readPicture(folder / sLine.substr(6, sLine.size() - 7), &text);
        EXPECT_EQ(text.count("Done"), 0u);
        EXPECT_NE(text[key.sChanged], before[key.sChanged]);
        EXPECT_TRUE(savedByOptions(text, folder / "direct.png", direct) == browsed);
        before = text;
    }
}

}  // namespace
