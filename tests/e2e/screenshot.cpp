// flames_screenshot OUT.png ANSWER...
//
// Runs the viewer in a private X server with the answers typed on one line, waits for its first
// frame and writes its window to OUT.png. For example: flames_screenshot flame.png 3000000 3 4

#include "viewer_harness.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double dFrameTimeout = 600;  // seconds: long runs are what screenshots are made of

bool writePng(const std::string& sPath, const SPicture& picture) {
    FILE* pFile = std::fopen(sPath.c_str(), "wb");
    if (!pFile) return false;
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    bool bWritten = false;
    if (pInfo && !setjmp(png_jmpbuf(pPng))) {
        png_init_io(pPng, pFile);
        png_set_IHDR(pPng, pInfo, picture.iWidth, picture.iHeight, 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(pPng, pInfo);
        for (int iY = 0; iY < picture.iHeight; iY++)
            png_write_row(pPng, picture.at(0, iY));
        png_write_end(pPng, nullptr);
        bWritten = true;
    }
    png_destroy_write_struct(&pPng, &pInfo);
    return std::fclose(pFile) == 0 && bWritten;
}

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
