// flames_browse_timing [PRESSES [GENOMES.flame]]
// flames_browse_timing --threads N [PRESSES]
//
// How soon a browsing key shows the new run: the viewer in a private X server, in the middle of a
// long live run of pattern 3 (or of the render of a genome of the file, at 320 x 320 and a
// quality that keeps it rendering), is sent n PRESSES times (default 10), and the time from each
// key to the next frame drawn is measured. With --threads, the run is one of minutes of pattern 1
// on N threads asked for (the viewer caps them at what the machine allows); then also how soon q
// ends the viewer in the middle of such a run, alone and behind fifty r pressed at once. Prints
// the median and the longest, in milliseconds.

#include "viewer_harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int iQuits = 5;  // viewers quit, each way

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void wellIntoTheRun() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }

std::string spread(std::vector<double> vMilliseconds) {
    std::sort(vMilliseconds.begin(), vMilliseconds.end());
    char sLine[80];
    std::snprintf(sLine, sizeof sLine, "median %.1f ms, longest %.1f ms",
                  vMilliseconds[vMilliseconds.size() / 2], vMilliseconds.back());
    return sLine;
}

// From each n, well into the run, to the next frame drawn.
std::vector<double> browsingTimes(CPrivateServer& server, CViewerRun& run, int iPresses) {
    const WindowId window = server.findWindow(sViewerTitle, 60, true);
    std::vector<double> vMilliseconds;
    for (int i = 0; i < iPresses; i++) {
        wellIntoTheRun();
        const int iFrames = run.framesDrawnNow();
        const Clock::time_point pressed = Clock::now();
        server.pressKey(window, 'n');
        run.waitForFrames(iFrames + 1, 10);
        vMilliseconds.push_back(millisecondsSince(pressed));
    }
    return vMilliseconds;
}

// From q, well into the run and behind iQueued r, to the viewer's end.
double quitTime(CPrivateServer& server, const SViewerLaunch& launch, int iQueued) {
    CViewerRun run(launch);
    const WindowId window = server.findWindow(sViewerTitle, 60, true);
    wellIntoTheRun();
    for (int i = 0; i < iQueued; i++) server.pressKey(window, 'r');
    const Clock::time_point pressed = Clock::now();
    server.pressKey(window, 'q');
    run.waitForExit(30);
    return millisecondsSince(pressed);
}

// A run of minutes on that many threads: browsing, then quitting.
void timeOnThreads(CPrivateServer& server, const std::string& sThreads, int iPresses) {
    SViewerLaunch launch;
    launch.sDisplay = server.displayName();
    launch.vArgs = {"--iterations", "2000000000", "--pattern", "1", "--threads", sThreads};
    launch.bErrorsExpected = true;  // the threads capped, on standard error
    std::vector<double> vBrowsing;
    {
        CViewerRun run(launch);
        vBrowsing = browsingTimes(server, run, iPresses);
    }
    std::vector<double> vAlone, vBehind;
    for (int i = 0; i < iQuits; i++) {
        vAlone.push_back(quitTime(server, launch, 0));
        vBehind.push_back(quitTime(server, launch, 50));
    }
    std::printf("on %s threads asked for, %d presses mid-run: browsing key to the new run's first"
                " frame: %s\n", sThreads.c_str(), iPresses, spread(vBrowsing).c_str());
    std::printf("on %s threads asked for, %d times each: q to the viewer's end mid-run: %s; "
                "behind 50 r: %s\n", sThreads.c_str(), iQuits, spread(vAlone).c_str(),
                spread(vBehind).c_str());
}

// A live run of pattern 3, or a genome of the file.
void timeBrowsing(CPrivateServer& server, int iPresses, const char* sGenomes) {
    SViewerLaunch launch;
    launch.sDisplay = server.displayName();
    launch.vArgs = {"--iterations", "2000000000", "--pattern", "3", "--colouring", "4",
                    "--seed", "7", "--live"};
    if (sGenomes)
        launch.vArgs = {"--genome", sGenomes, "--size", "320x320", "--quality", "20000",
                        "--seed", "7"};
    CViewerRun run(launch);
    run.waitForFrames(1, 60);
    std::printf("browsing key to the new %s first frame, %d presses mid-run: %s\n",
                sGenomes ? "320 x 320 genome's" : "run's", iPresses,
                spread(browsingTimes(server, run, iPresses)).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const bool bThreads = argc > 2 && std::string(argv[1]) == "--threads";
    const int iFirst = bThreads ? 3 : 1;  // of the arguments after the mode's
    const int iPresses = argc > iFirst ? std::max(1, std::atoi(argv[iFirst])) : 10;
    try {
        CPrivateServer server;
        if (bThreads) timeOnThreads(server, argv[2], iPresses);
        else timeBrowsing(server, iPresses, argc > 2 ? argv[2] : nullptr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
