// flames_screenshot OUT.png ANSWER...
// flames_screenshot OUT.png -- OPTION...
//
// Runs the viewer in a private X server with the answers typed on one line (or with those
// options of its own), waits for its first frame (or, with options, for it to finish drawing)
// and writes its window to OUT.png. For example: flames_screenshot flame.png 3000000 3 4, or
// flames_screenshot genome.png -- --genome docs/gallery.flame --pick 3

#include "png_io.h"
#include "viewer_harness.h"

#include <chrono>
#include <exception>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double dFrameTimeout = 600;  // seconds: long runs are what screenshots are made of

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " OUT.png [ITERATIONS [PATTERN [COLOURING]]]\n";
        return 2;
    }
    const bool bOptions = argc > 2 && std::string(argv[2]) == "--";
    std::string sAnswers;
    std::vector<std::string> vArgs;
    for (int i = 2; i < argc; i++) {
        if (bOptions && i > 2) vArgs.push_back(argv[i]);
        if (!bOptions) sAnswers += std::string(i > 2 ? " " : "") + argv[i];
    }
    try {
        CPrivateServer server;
        SViewerLaunch launch;
        launch.sAnswers = sAnswers + "\n";
        launch.sDisplay = server.displayName();
        launch.vArgs = vArgs;
        launch.bErrorsExpected = bOptions;
        CViewerRun run(launch);
        run.waitForFrames(1, dFrameTimeout);
        SViewerShot shot;
        shot.window = server.findWindow(sViewerTitle, 5, true);
        shot.picture = server.grabSettledWindow(shot.window, 10);
        // A genome grows in frames twice a second: it is through once a second has changed nothing.
        while (bOptions) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            const SPicture later = server.grabSettledWindow(shot.window, 10);
            if (later == shot.picture) break;
            shot.picture = later;
        }
        run.stop();
        if (!writePng(argv[1], shot.picture)) {
            std::cerr << argv[0] << ": cannot write " << argv[1] << "\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << argv[0] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
