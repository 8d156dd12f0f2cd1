// flames_browse_timing [PRESSES [GENOMES.flame]]
//
// How soon a browsing key shows the new run: the viewer in a private X server, in the middle of a
// long live run of pattern 3 (or of the render of a genome of the file, at 320 x 320 and a
// quality that keeps it rendering), is sent n PRESSES times (default 10), and the time from each
// key to the next frame drawn is measured. Prints the median and the longest, in milliseconds.

#include "viewer_harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    const int iPresses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    using Clock = std::chrono::steady_clock;
    try {
        CPrivateServer server;
        SViewerLaunch launch;
        launch.sDisplay = server.displayName();
        const bool bGenomes = argc > 2;
        launch.vArgs = {"--iterations", "2000000000", "--pattern", "3", "--colouring", "4",
                        "--seed", "7", "--live"};
        if (bGenomes)
            launch.vArgs = {"--genome", argv[2], "--size", "320x320", "--quality", "20000",
                            "--seed", "7"};
        CViewerRun run(launch);
        run.waitForFrames(1, 60);
        SViewerShot shot;
        shot.window = server.findWindow(sViewerTitle, 5, true);
        std::vector<double> vMilliseconds;
        for (int i = 0; i < iPresses; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well into the run
            const int iFrames = run.framesDrawnNow();
            const Clock::time_point pressed = Clock::now();
            server.pressKey(shot.window, 'n');
            run.waitForFrames(iFrames + 1, 10);
            vMilliseconds.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
        }
        std::sort(vMilliseconds.begin(), vMilliseconds.end());
        std::printf("browsing key to the new %s first frame, %d presses mid-run: median %.1f ms,"
                    " longest %.1f ms\n",
                    bGenomes ? "320 x 320 genome's" : "run's", iPresses,
                    vMilliseconds[vMilliseconds.size() / 2], vMilliseconds.back());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
