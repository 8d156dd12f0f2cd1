// flames_screenshot OUT.png ANSWER...
//
// Runs the viewer in a private X server with the answers typed on one line, waits for its first
// frame and writes its window to OUT.png. For example: flames_screenshot flame.png 3000000 3 4

#include "png_io.h"
#include "viewer_harness.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double dFrameTimeout = 600;  // seconds: long runs are what screenshots are made of

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " OUT.png [ITERATIONS [PATTERN [COLOURING]]]\n";
        return 2;
    }
    std::string sAnswers;
    for (int i = 2; i < argc; i++) sAnswers += std::string(i > 2 ? " " : "") + argv[i];
    try {
        CPrivateServer server;
        SViewerLaunch launch;
        launch.sAnswers = sAnswers + "\n";
        launch.sDisplay = server.displayName();
        CViewerRun run(launch);
        const SViewerShot shot = shootViewer(server, run, dFrameTimeout);
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
