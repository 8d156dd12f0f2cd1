#include "genome_runs/frame_list.h"

#include "animation/interpolation.h"
#include "animation/motion_blur.h"
#include "base/exit_status.h"
#include "base/number_text.h"
#include "runs/progress.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <thread>
#include <utility>

namespace {

// Two significant digits, rounded down: a preview's quality as the title can say it.
double twoDigits(double dValue) {
    const int iExponent = static_cast<int>(std::floor(std::log10(dValue))) - 1;
    const double dStep = std::pow(10, std::abs(iExponent));  // exact, for either sign
    return iExponent >= 0 ? std::floor(dValue / dStep) * dStep : std::floor(dValue * dStep) / dStep;
}

}  // namespace

int previewDivisor(int iWidth, int iHeight, int iShrink) {
    int iDivisor = std::max(1, iShrink);
    const auto pixels = [&](int k) {
        return static_cast<double>((iWidth + k - 1) / k) * ((iHeight + k - 1) / k);
    };
    while (pixels(iDivisor) > iPreviewPixels) iDivisor += std::max(1, iShrink);
    return iDivisor;
}

// Rounded up, so that the preview enlarged covers the window; its framing the picture's.
SGenome previewKeyframe(const SGenome& key, int iDivisor) {
    SGenome preview = resizedGenome(key, (key.iWidth + iDivisor - 1) / iDivisor,
                                    (key.iHeight + iDivisor - 1) / iDivisor);
    const double dPixels = std::pow(4.0, key.dZoom) * preview.iWidth * preview.iHeight;
    preview.dQuality = std::min(key.dQuality, twoDigits(iPreviewSamples / dPixels));
    preview.iTemporalSamples = std::clamp(key.iTemporalSamples, 1, iPreviewMoments);
    preview.iPasses = 1;
    preview.iSupersample = 1;
    // Density estimation as wide in the window as the picture's: its kernels are in pixels.
    preview.dEstimatorRadius = key.dEstimatorRadius / iDivisor;
    preview.dEstimatorMinimum = key.dEstimatorMinimum / iDivisor;
    return preview;
}

CFrameList::CFrameList(SKeyframes keys_, SFrameRange frames_, std::string sKind_)
    : keys(std::move(keys_)), frames(frames_), sKind(std::move(sKind_)) {}

int CFrameList::stepped(int iFrom, int iStep) const {
    if (iFrom < 0) return iStep > 0 ? 0 : count() - 1;
    return ((iFrom + iStep) % count() + count()) % count();
}

bool CFrameList::playOrPause() {
    if (bPlaying && bShown) {
        pause();
        return false;
    }
    bPlaying = !bPlaying && count() > 1;
    comeTo(stepped(iShown, 1));
    return true;
}

// While playing, the frame coming is not yet seen: a step goes from the frame shown.
void CFrameList::step(int iStep) {
    comeTo(stepped(iComing >= 0 && !bPlaying ? iComing : iShown, iStep));
    bPlaying = false;
}

void CFrameList::pause() {
    bPlaying = false;
    comeTo(-1);
}

void CFrameList::leave() {
    pause();
    bShown = false;
}

void CFrameList::comeTo(int iFrame) {
    iComing = iFrame;
    pPreview.reset();
}

// The preview keyframes are made again only where the window's shrink asks for another
// divisor. While playing, a frame drawn early waits for its turn, a slice at most at a time.
bool CFrameList::prepareComing(int iShrink, unsigned int uSeed, int iThreads,
                               Clock::duration slice, std::string& sRefused) {
    if (!pPreview) {
        const SGenome& first = keys.keys.first();
        const int iDivisor = previewDivisor(first.iWidth, first.iHeight, iShrink);
        if (iDivisor != iPreviewDivisor) {
            previewKeys.keys = keys.keys.changed(
                [iDivisor](SGenome& key) { key = previewKeyframe(key, iDivisor); });
            iPreviewDivisor = iDivisor;
        }
        pPreview = renderOf(previewKeys, iComing, uSeed, iThreads, sRefused);
        if (!pPreview) {  // shown refused in its turn, at most a frame's time away
            if (bPlaying && bShown) std::this_thread::sleep_until(nextDue);
            return true;
        }
    }
    if (pPreview->continueRender(std::chrono::duration_cast<std::chrono::milliseconds>(slice)))
        return false;
    const Clock::time_point now = Clock::now();
    if (!bPlaying || !bShown || now >= nextDue) return true;
    std::this_thread::sleep_for(std::min<Clock::duration>(nextDue - now, slice));
    return false;
}

void CFrameList::arrive() {
    iShown = iComing;
    bShown = true;
    nextDue = Clock::now() + std::chrono::microseconds(1000000 / iFramesASecond);
    comeTo(bPlaying ? stepped(iShown, 1) : -1);
}

std::string CFrameList::caption(int iFrame) const {
    return (sKind.empty() ? "" : sKind + ", ") + "frame " + std::to_string(frames.frame(iFrame)) +
           ", " + std::to_string(iFrame + 1) + " of " + std::to_string(count()) + ", time " +
           shortest(timeOf(iFrame));
}

std::unique_ptr<CGenomeRender> CFrameList::renderOf(const SKeyframes& drawn, int iFrame,
                                                    unsigned int uSeed, int iThreads,
                                                    std::string& sError) const {
    SRenderPlan plan;
    if (!framePlan(drawn.keys, timeOf(iFrame), plan, sError)) return nullptr;
    auto pRender = std::make_unique<CGenomeRender>(plan, seedOf(iFrame, uSeed), iThreads);
    sError = pRender->error();
    return sError.empty() ? std::move(pRender) : nullptr;
}

std::unique_ptr<CGenomeRender> CFrameList::render(int iFrame, unsigned int uSeed, int iThreads,
                                                  std::string& sError) const {
    return renderOf(keys, iFrame, uSeed, iThreads, sError);
}

SGenome CFrameList::genomeOf(int iFrame) const { return genomeAt(keys.keys, timeOf(iFrame)); }

unsigned int CFrameList::seedOf(int iFrame, unsigned int uSeed) const {
    return frameSeed(uSeed, timeOf(iFrame));
}

bool listFrames(const SOptions& options, std::optional<CFrameList>& frames, std::ostream& err,
                int& iStatus) {
    SKeyframes keys;
    if (!chooseKeyframes(options, keys, err, iStatus)) return false;
    SFrameRange range{0, 0, 1};
    std::string sError;
    if (!frameTimes(options, keys, range, sError)) {
        err << "flames: " << sError << std::endl;
        iStatus = iUsageError;
        return false;
    }
    std::string sKind;
    if (options.iLoopFrames)
        sKind = "loop of flame " + std::to_string(options.iPick.value_or(1));
    else if (options.iSequenceFrames)
        sKind = "sequence";
    frames.emplace(std::move(keys), range, std::move(sKind));
    return true;
}

bool listFrames(const SOptions& options, std::optional<CFrameList>& frames, std::string& sWhy) {
    std::ostringstream said;
    int iStatus = 0;
    const bool bListed = listFrames(options, frames, said, iStatus);
    clearProgressLine();  // a terminal shows both on one line
    std::cerr << said.str();
    const std::string sFirst = said.str().substr(0, said.str().find('\n'));
    const size_t uProgram = sFirst.find(": ");  // after "flames"
    sWhy = uProgram == std::string::npos ? sFirst : sFirst.substr(uProgram + 2);
    return bListed;
}
