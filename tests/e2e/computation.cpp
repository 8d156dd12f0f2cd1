#include "computation.h"

#include "calc.h"
#include "screen.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int iSide = 800;
constexpr double dComputeTimeout = 60;  // seconds

// In a child process, which starts from the zeroed buffer and the fresh computation state of
// static start-up as the viewer does; it sends back columns 0 to 799, rows 0 to 799 of RGBA.
[[noreturn]] void computeInChild(const SChoices& choices, const std::string& sSeedTime,
                                 int iOut) {
    const int iNull = open("/dev/null", O_WRONLY);
    dup2(iNull, STDOUT_FILENO);  // "calculating......." is the viewer's to show
    setenv("FLAMES_FIXED_TIME", sSeedTime.c_str(), 1);
    if (time(nullptr) != std::atoll(sSeedTime.c_str())) _exit(2);  // the clock would seed it
    myCalc.iIterations = choices.iIterations;
    myCalc.iPattern = choices.iPattern;
    myCalc.iColourType = choices.iColourType;
    myCalc.initCalculate();
    for (int iColumn = 0; iColumn < iSide; iColumn++) {
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

}  // namespace

std::vector<float> computedColours(const SChoices& choices, const std::string& sSeedTime) {
    int iFds[2];
    if (pipe2(iFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::cout.flush();
    const pid_t iPid = fork();
    if (iPid < 0) throw std::runtime_error("fork");
    if (iPid == 0) {
        close(iFds[0]);
        computeInChild(choices, sSeedTime, iFds[1]);
    }
    close(iFds[1]);
    std::vector<float> vColours(iSide * iColumnFloats);
    char* pBytes = reinterpret_cast<char*>(vColours.data());
    const size_t iSize = vColours.size() * sizeof(float);
    size_t iDone = 0;
    while (iDone < iSize) {
        pollfd poller{iFds[0], POLLIN, 0};
        if (poll(&poller, 1, static_cast<int>(dComputeTimeout * 1000)) <= 0) break;
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

int roundedChannel(float fChannel) {
    return static_cast<int>(std::lround(255.0 * std::clamp(fChannel, 0.0f, 1.0f)));
}


::testing::AssertionResult showsComputation(const SPicture& picture,
                                            const std::vector<float>& vColours, int iTolerance) {
    if (picture.iWidth != iSide || picture.iHeight != iSide)
        return ::testing::AssertionFailure() << "the picture is " << picture.iWidth << " x "
                                             << picture.iHeight;
    int iDiffering = 0;
    std::ostringstream first;
    for (int iColumn = 0; iColumn < iSide; iColumn++) {
        for (int iRow = 0; iRow < iSide; iRow++) {
            const float* pColour = &vColours[iColumn * iColumnFloats + iRow * 4];
            const unsigned char* pRgb = picture.at(iColumn, iSide - 1 - iRow);  // X: top row 0
            bool bDiffers = false;
            for (int k = 0; k < 3; k++)
                bDiffers |= std::abs(pRgb[k] - roundedChannel(pColour[k])) > iTolerance;
            iDiffering += bDiffers;
            if (bDiffers && first.str().empty())
                first << "first at column " << iColumn << ", row " << iRow << ": shown "
                      << int(pRgb[0]) << ' ' << int(pRgb[1]) << ' ' << int(pRgb[2])
                      << ", computed " << pColour[0] << ' ' << pColour[1] << ' ' << pColour[2];
        }
    }
    if (iDiffering == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << iDiffering << " pixels differ; " << first.str();
}
