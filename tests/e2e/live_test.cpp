// A window that answers during the run: --live shows the picture growing and ends at the
// picture of a run without it; closing or q ends a run at once; keys 1 to 5 colour the hits anew.

#include "computation.h"
#include "viewer_test.h"

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

class ViewerLiveTest : public ViewerTest {};

// Pictures of the hits so far, one after another, and s saving one of them, until the window
// shows the finished picture: the very one that the run computes without --live.
TEST_F(ViewerLiveTest, GrowsThroughPartialPicturesToTheFinishedOne) {
    const SChoices choices{60000000, 3, 4};  // seconds of iterations: several refreshes
    const std::vector<float> vFinished = computedColours(choices, "7");
    CScratchFolder folder;
    CViewerRun run(launchWith("60000000 3 4\n", {"--live", "--seed", "7"}, folder.path));
    const SViewerShot first = shootViewer(*pServer, run, dFrameTimeout);

    std::vector<SPicture> vPartial;
    for (int iFrame = 2; vPartial.size() < 2 && iFrame < 20; iFrame++) {
        run.waitForFrames(iFrame, dFrameTimeout);
        SPicture picture = pServer->grabWindow(first.window);
        if (litPixels(picture) == 0 || showsComputation(picture, vFinished, 1)) continue;
        if (vPartial.empty() || !(picture == vPartial.back())) vPartial.push_back(picture);
    }
    ASSERT_EQ(vPartial.size(), 2u) << "fewer than two pictures of the run before its end";
    pServer->pressKey(first.window, 's');
    run.waitForOutput("saved flame-p3-c4-", 10);  // and the iterations done so far
    run.waitForOutput(".png\n", 10);
    const size_t iName = run.output().find("flame-p3-c4-");
    const std::string sSaved = run.output().substr(iName, run.output().find('\n', iName) - iName);

    bool bFinished = false;
    for (int iLook = 0; !bFinished && iLook < 600; iLook++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        bFinished = showsComputation(pServer->grabWindow(first.window), vFinished, 1);
    }
    EXPECT_TRUE(showsComputation(pServer->grabWindow(first.window), vFinished, 1));
    std::map<std::string, std::string> text;
    readPicture(folder / sSaved, &text);
    EXPECT_EQ(text["Iterations"], "60000000");
    EXPECT_LT(std::stoll(text["Done"]), 60000000);
    EXPECT_EQ(sSaved, "flame-p3-c4-" + text["Done"] + "-7.png");
}

// Closed by the window manager, live or not, or ended by a key: at once, not after the minutes
// of its run.
TEST_F(ViewerLiveTest, ClosingMidRunEndsAtOnceWithStatusZero) {
    for (const char* sHow : {"close", "close live", "escape"}) {
        SCOPED_TRACE(sHow);
        SViewerLaunch launch = launchWith("2000000000 3 4\n");  // minutes of iterations
        if (std::string(sHow) == "close live") launch.vArgs = {"--live"};
        CViewerRun run(launch);
        const WindowId window = pServer->findWindow(sViewerTitle, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well into the run
        if (std::string(sHow) == "escape") pServer->pressKey(window, '\033');
        else pServer->closeWindow(window);
        expectExitStatus(run.waitForExit(dEndTimeout), 0);
    }
}

// Each key gives the picture of a run with that colouring chosen, from the same hits; a saved
// picture records the colouring shown.
TEST_F(ViewerLiveTest, NumberKeysColourTheSameHitsAnew) {
    CScratchFolder folder;
    CViewerRun run(launchWith("200000 3 1\n", {"--seed", "7"}, folder.path));
    const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout);
    for (const int iColourType : {4, 2}) {
        const int iFrames = run.framesDrawn();
        pServer->pressKey(shot.window, static_cast<char>('0' + iColourType));
        run.waitForFrames(iFrames + 1, 10);
        const SPicture picture = pServer->grabSettledWindow(shot.window, 10);
        EXPECT_TRUE(showsComputation(picture, computedColours({200000, 3, iColourType}, "7"), 1))
            << "colouring " << iColourType;
    }
    pServer->pressKey(shot.window, 's');
    run.waitForOutput("saved flame-p3-c2-200000-7.png\n", 10);
    std::map<std::string, std::string> text;
    readPicture(folder / "flame-p3-c2-200000-7.png", &text);
    EXPECT_EQ(text["Colouring"], "2");
}

}  // namespace
