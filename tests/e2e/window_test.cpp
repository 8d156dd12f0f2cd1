// The window's edges: where -geometry and -iconic put it, a picture larger than the screen shown
// shrunk to fit it, keys answered however many threads compute and however many keys wait, and
// a window destroyed by another client ending the run.

#include "computation.h"
#include "viewer_test.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// Built with AddressSanitizer, the viewer's memory counts its shadow and quarantine: its peak
// memory is not measured.
#ifdef __SANITIZE_ADDRESS__
constexpr bool bInstrumented = true;
#else
constexpr bool bInstrumented = false;
#endif

class ViewerPlaceTest : public ViewerTest {};

// GLUT's reading of -geometry and -iconic; without them the window is where it always was.
TEST_F(ViewerPlaceTest, GeometryAndIconicPlaceTheWindowAsGlutDefinesThem) {
    const struct {
        std::vector<std::string> vArgs;
        SWindowPlace place;
    } cases[] = {
        {{}, {100, 50, 800, 800, false}},
        {{"-geometry", "400x300+10+10"}, {10, 10, 400, 300, false}},
        {{"-geometry", "+0+0"}, {0, 0, 800, 800, false}},           // it only moves
        {{"-geometry", "500x400"}, {100, 50, 500, 400, false}},     // it only resizes
        {{"-geometry", "500x400-0-0"}, {780, 624, 500, 400, false}},  // from the far edges
        {{"-iconic"}, {100, 50, 800, 800, true}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.vArgs.empty() ? "none" : example.vArgs.back());
        SViewerLaunch launch = launchWith("1000 1 1\n");
        launch.vArgs = example.vArgs;
        CViewerRun run(launch);
        run.waitForFrames(1, dFrameTimeout);
        const SWindowPlace place = pServer->placeOf(pServer->findWindow(sViewerTitle, 5));
        EXPECT_EQ(place.iX, example.place.iX);
        EXPECT_EQ(place.iY, example.place.iY);
        EXPECT_EQ(place.iWidth, example.place.iWidth);
        EXPECT_EQ(place.iHeight, example.place.iHeight);
        EXPECT_EQ(place.bIconic, example.place.bIconic);
    }
}

class ViewerShrunkTest : public ViewerTest {};

// 2600 x 2100 on the 1280 x 1024 screen: at 1/3, 867 x 700, the last column and row of the
// window standing for fewer pixels than nine.
TEST_F(ViewerShrunkTest, EachWindowPixelIsTheAverageOfItsSquare) {
    SRun run;
    run.iIterations = 4000000;
    run.iPattern = 3;
    run.uSeed = 7;
    run.iWidth = 2600;
    run.iHeight = 2100;
    const SPicture expected = shrunkComputation(run, 4, 3);
    CViewerRun viewer(launchWith("", {"--size", "2600x2100", "--iterations", "4000000",
                                      "--pattern", "3", "--colouring", "4", "--seed", "7"},
                                 ""));
    viewer.waitForFrames(1, dFrameTimeout);
    const WindowId window = pServer->findWindow(std::string(sViewerTitle) + " (shown at 1/3)", 5);
    const SPicture shown = pServer->grabSettledWindow(window, 10);
    ASSERT_EQ(shown.iWidth, 867);
    ASSERT_EQ(shown.iHeight, 700);
    EXPECT_EQ(differingPixels(shown, expected), 0);
    EXPECT_GT(litPixels(shown), 50000);
}

// 4000 x 4000 at 1/4: the window's memory is the picture's counts and not much more, not the 16
// bytes a pixel of colours and the 4 of their bytes that a window of its size would take.
TEST_F(ViewerShrunkTest, LargePictureFitsTheScreenInLittleMemory) {
    CViewerRun run(launchWith(
        "", {"--size", "4000x4000", "--iterations", "2000000", "--pattern", "3"}, ""));
    run.waitForFrames(1, dFrameTimeout);
    const WindowId window = pServer->findWindow(std::string(sViewerTitle) + " (shown at 1/4)", 5);
    const SWindowPlace place = pServer->placeOf(window);
    EXPECT_EQ(place.iWidth, 1000);
    EXPECT_EQ(place.iHeight, 1000);
    EXPECT_LE(place.iY + place.iHeight, 1024);  // all of it on the screen
    const long long iCounts = 4000LL * 4000 * 4, iScreenColours = 1280LL * 1024 * 16;
    if (!bInstrumented) {
        EXPECT_LT(run.peakMemory(), iCounts + iScreenColours + 150LL * 1024 * 1024);
    }
}

class ViewerManyThreadsTest : public ViewerTest {};

// On 256 threads asked for, in a run of minutes: a browsing key shows the next run, and q ends
// the viewer mid-run, also behind fifty random flames asked for, which would take seconds to
// make one after another. How soon each comes is make bench's figure (flames_browse_timing
// --threads 256), not a test's: a busy machine would fail it.
TEST_F(ViewerManyThreadsTest, KeysAnswerOnEveryThread) {
    const struct {
        const char* sName;
        char cKey;
        int iPresses;
    } cases[] = {{"n", 'n', 1}, {"50 r", 'r', 50}};
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sName);
        SViewerLaunch launch = launchWith(
            "", {"--iterations", "2000000000", "--pattern", "1", "--threads", "256"}, "");
        launch.bErrorsExpected = true;  // the threads capped, on standard error
        CViewerRun run(launch);
        const WindowId window = pServer->findWindow(sViewerTitle, dFrameTimeout);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well into the run
        const int iFrames = run.framesDrawnNow();
        for (int i = 0; i < example.iPresses; i++) pServer->pressKey(window, example.cKey);
        if (example.cKey == 'n') {
            run.waitForFrames(iFrames + 1, dFrameTimeout);
            EXPECT_NE(pServer->titleOf(window).find(": pattern 2,"), std::string::npos)
                << pServer->titleOf(window);
            EXPECT_GT(litPixels(pServer->grabWindow(window)), 0);
        }
        pServer->pressKey(window, 'q');
        expectExitStatus(run.waitForExit(dEndTimeout), 0);  // not the minutes of the run
    }
}

class ViewerDestroyedTest : public ViewerTest {};

// Destroyed by another client mid-run, live or not: the run ends as when the window manager
// closes the window.
TEST_F(ViewerDestroyedTest, DestroyedWindowEndsTheRunWithStatusZero) {
    for (const bool bLive : {false, true}) {
        SCOPED_TRACE(bLive ? "live" : "not live");
        SViewerLaunch launch = launchWith("2000000000 3 4\n");  // minutes of iterations
        if (bLive) launch.vArgs = {"--live"};
        CViewerRun run(launch);
        const WindowId window = pServer->findWindow(sViewerTitle, dFrameTimeout);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));  // a live refresh or so
        pServer->destroyWindow(window);
        expectExitStatus(run.waitForExit(dEndTimeout), 0);
        EXPECT_EQ(run.errors(), "");
    }
}

}  // namespace
