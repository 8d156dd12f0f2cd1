// For a known seed the window shows, pixel for pixel, the colours that the computation yields in
// this process for the same seed and choices: the viewer adds nothing to the picture and loses
// nothing but the rounding of each channel to 8 bits.

#include "viewer_test.h"

#include "calc.h"
#include "screen.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string sSeedTime = "1700000000";  // what time() returns to both computations

struct SChoices {
    int iIterations;
    int iPattern;
    int iColourType;
};

constexpr size_t iColumnFloats = iViewerSide * 4;  // one column of the buffer in use, RGBA

// In a child process, which starts from the zeroed buffer and the fresh computation state of
// static start-up as the viewer does; it sends back columns 0 to 799, rows 0 to 799 of RGBA.
[[noreturn]] void computeInChild(const SChoices& choices, int iOut) {
    const int iNull = open("/dev/null", O_WRONLY);
    dup2(iNull, STDOUT_FILENO);  // "calculating......." is the viewer's to show
    setenv("FLAMES_FIXED_TIME", sSeedTime.c_str(), 1);
    if (time(nullptr) != std::atoll(sSeedTime.c_str())) _exit(2);  // the clock would seed it
    myCalc.iIterations = choices.iIterations;
    myCalc.iPattern = choices.iPattern;
    myCalc.iColourType = choices.iColourType;
    myCalc.initCalculate();
    for (int iColumn = 0; iColumn < iViewerSide; iColumn++) {
        const char* pBytes = reinterpret_cast<const char*>(myScreen.fScreenArray[iColumn]);
        size_t iDone = 0;
        while (iDone < iColumnFloats * sizeof(float)) {
            const ssize_t iWritten =
                write(iOut, pBytes + iDone, iColumnFloats * sizeof(float) - iDone);
            if (iWritten <= 0) _exit(1);
            iDone += static_cast<size_t>(iWritten);
        }
    }
    _exit(0);
}

// [column][row][channel] of the buffer in use, as floats in [0, 1].
std::vector<float> computedColours(const SChoices& choices) {
    int iFds[2];
    if (pipe2(iFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::cout.flush();
    const pid_t iPid = fork();
    if (iPid < 0) throw std::runtime_error("fork");
    if (iPid == 0) {
        close(iFds[0]);
        computeInChild(choices, iFds[1]);
    }
    close(iFds[1]);
    std::vector<float> vColours(iViewerSide * iColumnFloats);
    char* pBytes = reinterpret_cast<char*>(vColours.data());
    const size_t iSize = vColours.size() * sizeof(float);
    size_t iDone = 0;
    while (iDone < iSize) {
        pollfd poller{iFds[0], POLLIN, 0};
        if (poll(&poller, 1, static_cast<int>(dFrameTimeout * 1000)) <= 0) break;
        const ssize_t iRead = read(iFds[0], pBytes + iDone, iSize - iDone);
        if (iRead <= 0) break;
        iDone += static_cast<size_t>(iRead);
    }
    close(iFds[0]);
    if (iDone < iSize) kill(iPid, SIGKILL);
    int iStatus = 0;
    waitpid(iPid, &iStatus, 0);
    if (iDone < iSize || !WIFEXITED(iStatus) || WEXITSTATUS(iStatus) != 0)
        throw std::runtime_error("the computation in a child process failed");
    return vColours;
}

int eightBits(float fChannel) {
    return static_cast<int>(std::lround(255.0 * std::clamp(fChannel, 0.0f, 1.0f)));
}

class ViewerColoursTest : public ViewerTest {
protected:
    // Alpha does not show: the viewer never blends.
    static void expectWindowShowsComputation(const SChoices& choices) {
        std::ostringstream answers;
        answers << choices.iIterations << ' ' << choices.iPattern << ' ' << choices.iColourType
                << '\n';
        const std::vector<float> vColours = computedColours(choices);
        const SPicture picture = pictureOf(answers.str(), sSeedTime);
        ASSERT_TRUE(hasViewerSize(picture));

        int iDiffering = 0, iLit = 0;
        std::ostringstream firstDiffering;
        for (int iColumn = 0; iColumn < iViewerSide; iColumn++) {
            for (int iRow = 0; iRow < iViewerSide; iRow++) {
                const float* pColour = &vColours[iColumn * iColumnFloats + iRow * 4];
                const unsigned char* pRgb = bufferPixel(picture, iColumn, iRow);
                bool bDiffers = false;
                for (int k = 0; k < 3; k++)
                    bDiffers |= std::abs(pRgb[k] - eightBits(pColour[k])) > 1;
                iLit += !isBlack(pRgb);
                iDiffering += bDiffers;
                if (bDiffers && firstDiffering.str().empty())
                    firstDiffering << "first at column " << iColumn << ", row " << iRow
                                   << ": window " << int(pRgb[0]) << ' ' << int(pRgb[1]) << ' '
                                   << int(pRgb[2]) << ", computed " << pColour[0] << ' '
                                   << pColour[1] << ' ' << pColour[2];
            }
        }
        EXPECT_EQ(iDiffering, 0) << firstDiffering.str();
        EXPECT_GT(iLit, 1000);  // a picture, not a black window that matches a black one
    }
};

TEST_F(ViewerColoursTest, BlackAndWhiteOfSierpinskiTriangle) {
    expectWindowShowsComputation({200000, 1, 1});
}

TEST_F(ViewerColoursTest, GreyScaleOfCloud) { expectWindowShowsComputation({200000, 2, 2}); }

TEST_F(ViewerColoursTest, TrafficLightsOfLinearSpiralSwirl) {
    expectWindowShowsComputation({200000, 3, 3});
}

TEST_F(ViewerColoursTest, RainbowOfFirstTryOut) { expectWindowShowsComputation({200000, 4, 4}); }

TEST_F(ViewerColoursTest, AllBluesOfSecondTryOut) {
    expectWindowShowsComputation({200000, 5, 5});
}

// Most single functions settle on a few pixels; these two spread over thousands.
TEST_F(ViewerColoursTest, RainbowOfSingleSpherical) {
    expectWindowShowsComputation({200000, 8, 4});
}

TEST_F(ViewerColoursTest, AllBluesOfSingleSpiral) { expectWindowShowsComputation({200000, 15, 5}); }

}  // namespace
