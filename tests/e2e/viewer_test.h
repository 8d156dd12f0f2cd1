#pragma once

// The fixture of the tests that run the viewer in a private X server (one server for each test
// suite, started by the first test that needs it), and what the tests share.

#include "png_io.h"
#include "viewer_harness.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

constexpr double dFrameTimeout = 60;  // seconds for a run's computation and first frame
// Seconds for the viewer to end where it ends at once: a hang, or an end after the minutes of
// the run it stops, still shows; a busy machine's slow moment does not.
constexpr double dEndTimeout = 30;

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (pServer) return;
        try {
            pServer = std::make_unique<CPrivateServer>();
        } catch (const std::exception& error) {
            FAIL() << error.what();
        }
    }

    static void TearDownTestSuite() { pServer.reset(); }

    static SViewerLaunch launchWith(const std::string& sAnswers, const std::string& sTime = "") {
        SViewerLaunch launch;
        launch.sAnswers = sAnswers;
        launch.sDisplay = pServer->displayName();
        launch.sFixedTime = sTime;
        return launch;
    }

    // With options of the viewer's own, in a folder of its own for the pictures it saves.
    static SViewerLaunch launchWith(const std::string& sAnswers,
                                    const std::vector<std::string>& vArgs,
                                    const std::string& sFolder) {
        SViewerLaunch launch = launchWith(sAnswers);
        launch.vArgs = vArgs;
        launch.sFolder = sFolder;
        return launch;
    }

    // The window after the first frame of a run; the run is ended.
    static SPicture pictureOf(const SViewerLaunch& launch) {
        CViewerRun run(launch);
        return shootViewer(*pServer, run, dFrameTimeout).picture;
    }

    static SPicture pictureOf(const std::string& sAnswers, const std::string& sTime = "") {
        return pictureOf(launchWith(sAnswers, sTime));
    }

    // Of answers that the viewer remarks on, on standard error, before it computes.
    static SPicture pictureOfRemarkedAnswers(const std::string& sAnswers) {
        SViewerLaunch launch = launchWith(sAnswers);
        launch.bErrorsExpected = true;
        return pictureOf(launch);
    }

    static inline std::unique_ptr<CPrivateServer> pServer;
};

// The pixel that shows the image buffer's [column][row]: the buffer's row 0 is at the bottom,
// X's at the top.
inline const unsigned char* bufferPixel(const SPicture& picture, int iColumn, int iRow) {
    return picture.at(iColumn, picture.iHeight - 1 - iRow);
}

// Mesa does not always round a channel to 8 bits the same way in two frames of the same colours.
inline bool withinRounding(const unsigned char* pRgb, const unsigned char* pOther) {
    for (int k = 0; k < 3; k++)
        if (std::abs(pRgb[k] - pOther[k]) > 1) return false;
    return true;
}

// How many pixels of two pictures of the same size differ by more than the rounding.
inline int differingPixels(const SPicture& picture, const SPicture& other) {
    int iDiffering = 0;
    for (int iY = 0; iY < picture.iHeight; iY++)
        for (int iX = 0; iX < picture.iWidth; iX++)
            iDiffering += !withinRounding(picture.at(iX, iY), other.at(iX, iY));
    return iDiffering;
}

inline bool isBlack(const unsigned char* pRgb) { return !pRgb[0] && !pRgb[1] && !pRgb[2]; }

inline int litPixels(const SPicture& picture) {
    int iLit = 0;
    for (size_t i = 0; i < picture.vRgb.size(); i += 3) iLit += !isBlack(&picture.vRgb[i]);
    return iLit;
}

inline bool isWhite(const unsigned char* pRgb) {
    return pRgb[0] == 255 && pRgb[1] == 255 && pRgb[2] == 255;
}

inline ::testing::AssertionResult hasViewerSize(const SPicture& picture) {
    if (picture.iWidth == iViewerSide && picture.iHeight == iViewerSide)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the window is " << picture.iWidth << " x " << picture.iHeight << ", not "
           << iViewerSide << " x " << iViewerSide;
}

// A fresh folder for the files of one test, in this process's folder, removed with everything in
// it when the test ends, passed or failed.
class CScratchFolder {
public:
    CScratchFolder() {
        std::string sPath = processFolder() + "/scratch-XXXXXX";
        if (!mkdtemp(sPath.data())) throw std::runtime_error("mkdtemp " + sPath);
        path = sPath;
    }
    ~CScratchFolder() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& sName) const { return (path / sName).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> vNames;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            vNames.push_back(entry.path().filename().string());
        return vNames;
    }

    std::filesystem::path path;
};

inline void expectExitStatus(int iStatus, int iExpected) {
    ASSERT_TRUE(WIFEXITED(iStatus)) << "signal " << WTERMSIG(iStatus);
    EXPECT_EQ(WEXITSTATUS(iStatus), iExpected);
}

inline SPicture readPicture(const std::string& sPath,
                            std::map<std::string, std::string>* pText = nullptr) {
    SPicture picture;
    std::map<std::string, std::string> text;
    EXPECT_TRUE(readPng(sPath, picture, text)) << sPath;
    if (pText) *pText = text;
    return picture;
}

// s pressed in the window until the picture it saves passes isDone, which is given it and its
// chunks: a run or a render still growing saves what it has, and a key acted on after s, or
// still in the making, leaves the picture as it was. The last picture saved and its chunks.
template <typename FDone>
SPicture savedOnceDone(const CPrivateServer& server, CViewerRun& run, WindowId window,
                       const CScratchFolder& folder, std::map<std::string, std::string>& text,
                       FDone isDone) {
    SPicture picture;
    for (int iTry = 0; iTry < 400; iTry++) {
        const size_t iFrom = run.output().size();
        server.pressKey(window, 's');
        run.waitForOutput(".png\n", dFrameTimeout, iFrom);
        const std::string sLine = run.output().substr(iFrom);
        EXPECT_EQ(sLine.rfind("saved ", 0), 0u) << sLine;
        if (sLine.rfind("saved ", 0) != 0) break;
        picture = readPicture(folder / sLine.substr(6, sLine.size() - 7), &text);
        if (isDone(picture, text)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // what a slice runs
    }
    return picture;
}
