// Exploring: answers on the command line, a saved picture made again by --load at its size or
// another, and the browsing keys, whose pictures are the ones --save makes of what they record.

#include "png_io.h"
#include "viewer_test.h"

#include <X11/keysym.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
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

// A saving run with the answers on the command line, which asks nothing: its picture and chunks.
SPicture saved(const std::vector<std::string>& vArgs, const std::string& sPath, Chunks& text) {
    std::vector<std::string> vLine = vArgs;
    vLine.insert(vLine.end(), {"--seed", "7", "--colouring", "4", "--save", sPath});
    CViewerRun run(headless(vLine));
    expectExitStatus(run.waitForExit(dFrameTimeout), 0);
    EXPECT_EQ(run.output(), "calculating.......\n\n\n");  // no dialogue
    return readPicture(sPath, &text);
}

// The mean of every channel of every pixel, 0 to 1.
double meanBrightness(const SPicture& picture) {
    double dSum = 0;
    for (const unsigned char uByte : picture.vRgb) dSum += uByte;
    return dSum / (255.0 * picture.vRgb.size());
}

// --load makes a saved picture again from its chunks, a random flame from its Functions; with
// another size, the same framing at that size and its density (the iterations grown with the
// area, unless --iterations says how many), which --save of what it records makes too.
TEST(ExploreTest, LoadMakesTheSavedPictureAgain) {
    const struct {
        std::vector<std::string> vArgs;
        const char* sKey;  // a chunk that must be as recorded
        const char* sValue;
    } cases[] = {
        {{"--iterations", "300000", "--pattern", "3", "--size", "320x240", "--fit"}, "Size",
         "320x240"},
        {{"--random", "3", "--iterations", "200000"}, "Flame", "3"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sKey);
        CScratchFolder folder;
        Chunks text, again, larger, direct;
        const SPicture picture = saved(example.vArgs, folder / "first.png", text);
        EXPECT_EQ(text[example.sKey], example.sValue);
        EXPECT_EQ(text.count("Pattern") + text.count("Functions"), 1u);
        EXPECT_GT(litPixels(picture), 5000);
        EXPECT_TRUE(saved({"--load", folder / "first.png"}, folder / "again.png", again) ==
                    picture);
        EXPECT_EQ(again, text);
        const SPicture bigger =
            saved({"--load", folder / "first.png", "--size", "640x480"}, folder / "big.png", larger);
        EXPECT_EQ(larger["View"], text["View"]);
        EXPECT_EQ(bigger.iWidth, 640);
        EXPECT_TRUE(savedByOptions(larger, folder / "direct.png", direct) == bigger);
        const double dArea = 640.0 * 480 / (picture.iWidth * picture.iHeight);
        EXPECT_EQ(std::stod(larger["Iterations"]),
                  std::round(std::stod(text["Iterations"]) * dArea));
        EXPECT_NEAR(meanBrightness(bigger) / meanBrightness(picture), 1, 0.2);
        saved({"--load", folder / "first.png", "--size", "640x480", "--iterations", "1000"},
              folder / "given.png", larger);
        EXPECT_EQ(larger["Iterations"], "1000");
    }
}

TEST(ExploreTest, LoadRefusesWhatIsNoSavedPicture) {
    CScratchFolder folder;
    writePng(folder / "bare.png", SPicture{2, 1, std::vector<unsigned char>(6, 0)});
    std::ofstream(folder / "text.png") << "not a picture";
    const struct {
        std::string sFile;
        const char* sReason;
    } cases[] = {
        {folder / "bare.png", "no Iterations chunk before its image: not a picture saved by flames"},
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
// file records gives the very same picture. A slow key's run (f, r) comes once it is made, and
// a run takes what time the machine gives it: s is pressed again until the file is of the
// key's run, whole.
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
        pServer->pressKeySymbol(shot.window, key.uKey);
        Chunks text, direct;
        const SPicture browsed = savedOnceDone(
            *pServer, run, shot.window, folder, text, [&](const SPicture&, Chunks& saved) {
                return saved.count("Done") == 0 && saved[key.sChanged] != before[key.sChanged];
            });
        EXPECT_EQ(text.count("Done"), 0u);
        EXPECT_NE(text[key.sChanged], before[key.sChanged]);
        EXPECT_TRUE(savedByOptions(text, folder / "direct.png", direct) == browsed);
        before = text;
    }
}

}  // namespace
