#include "runs/progress.h"

#include "runs/runner.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double dRefreshSeconds = 0.25;

Clock::time_point startTime;
Clock::time_point lastShown;
constexpr int iProgressBlock = 1 << 16;  // iterations between two reports of a whole run

bool bWatching = false;
bool bLineShown = false;  // a progress line stands on the terminal

double secondsSince(Clock::time_point then) {
    return std::chrono::duration<double>(Clock::now() - then).count();
}

void showLine(const std::string& sLine) {
    std::fputs(("\r" + sLine + "\033[K").c_str(), stderr);
    std::fflush(stderr);
    bLineShown = true;
}

}  // namespace

void reportProgress(long long iDone, long long iTotal) {
    if (!bWatching) return;
    if (iDone >= iTotal) {  // the run is over: leave the line empty for what follows
        clearProgressLine();
        return;
    }
    if (secondsSince(lastShown) < dRefreshSeconds) return;
    lastShown = Clock::now();
    showLine(progressLine(iDone, iTotal, secondsSince(startTime)));
}

void clearProgressLine() {
    if (!bLineShown) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    bLineShown = false;
}

std::string progressLine(long long iDone, long long iTotal, double dSeconds) {
    const double dShare = iTotal > 0 ? static_cast<double>(iDone) / iTotal : 1.0;
    const double dRate = dSeconds > 0 ? iDone / dSeconds : 0.0;
    const double dLeft = dRate > 0 ? (static_cast<double>(iTotal) - iDone) / dRate : 0.0;
    char cLine[96];
    std::snprintf(cLine, sizeof cLine, "%4d%% | %.1f M iterations/s | %.0f s left",
                  static_cast<int>(dShare * 100), dRate / 1e6, dLeft);
    return cLine;
}

// A run ended by closing the window leaves no line behind for the shell's prompt.
void watchProgress() {
    startTime = lastShown = Clock::now();
    bWatching = true;
    static const bool bClearedAtExit = std::atexit(clearProgressLine) == 0;
    (void)bClearedAtExit;
}

void watchProgressOnTerminal() {
    if (isatty(STDERR_FILENO)) watchProgress();
}

void workWithProgress(const SSlicedWork& work) {
    while (work.continueWork()) reportProgress(work.done(), work.total());
    reportProgress(work.total(), work.total());
}

void calculateWithProgress(CRunner& runner) {
    runner.beginCalculate();
    const int iTotal = runner.parameters().iIterations;
    workWithProgress({[&runner] { return runner.continueCalculate(iProgressBlock); },
                      [&runner] { return static_cast<long long>(runner.iterationsWorked()); },
                      [iTotal] { return static_cast<long long>(iTotal); }});
}

std::string framesProgressLine(long long iFrame, int iNumber, int iFrames, double dShare,
                               double dSeconds) {
    const double dLeft = dShare > 0 ? dSeconds * (1 - dShare) / dShare : 0.0;
    char cLine[128];
    std::snprintf(cLine, sizeof cLine, "%4d%% | frame %lld, %d of %d | %.0f s left",
                  static_cast<int>(dShare * 100), iFrame, iNumber, iFrames, dLeft);
    return cLine;
}

// The frame's share done is its own done over total, 1 where it has nothing to do.
void frameWithProgress(const SSlicedWork& work, long long iFrame, int iNumber, int iFrames) {
    const auto report = [&] {
        if (!bWatching || secondsSince(lastShown) < dRefreshSeconds) return;
        lastShown = Clock::now();
        const long long iTotal = work.total();
        const double dFrameShare = iTotal > 0 ? static_cast<double>(work.done()) / iTotal : 1;
        const double dShare = (iNumber - 1 + dFrameShare) / iFrames;
        showLine(framesProgressLine(iFrame, iNumber, iFrames, dShare, secondsSince(startTime)));
    };
    while (work.continueWork()) report();
    if (iNumber == iFrames) clearProgressLine();
}
