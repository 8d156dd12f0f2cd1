#include "views/frame_play.h"

#include "base/number_text.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr auto sliceTime = std::chrono::milliseconds(10);  // a key waits for a slice at most

}  // namespace

std::unique_ptr<CGenomeRender> CFramePlayer::begin(CFrameList listed, unsigned int uSeed,
                                                   int iThreads, std::string& sError) {
    frames.emplace(std::move(listed));
    frames->step(1);
    frames->arrive();
    std::unique_ptr<CGenomeRender> pRender = frames->render(0, uSeed, iThreads, sError);
    if (!pRender) sError = "frame " + shortest(frames->timeOf(0)) + ": " + sError;
    return pRender;
}

bool CFramePlayer::listed(const std::string& sFile, const SOptions& options, std::string& sWhy) {
    sWhy = "not from a genome file";
    if (!frames && !sFile.empty()) listFrames(options, frames, sWhy);
    return frames.has_value();
}

bool CFramePlayer::playOrPause() {
    if (!frames->playOrPause()) return false;
    if (frames->playing()) bSaveOnceDrawn = false;
    return true;
}

void CFramePlayer::step(int iStep) { frames->step(iStep); }

bool CFramePlayer::prepareComing(int iShrink, unsigned int uSeed, int iThreads,
                                 std::string& sRefused) {
    return frames->prepareComing(iShrink, uSeed, iThreads, sliceTime, sRefused);
}

void CFramePlayer::arrive(const std::string& sRefused, int iShrink) {
    if (CGenomeRender* pPreview = frames->preview()) {
        const SGenome& genome = pPreview->renderedGenome();
        dPreviewQuality = genome.dQuality;
        preview.resize(genome.iWidth, genome.iHeight,
                       std::max(1, frames->previewScale() / iShrink));
        pPreview->writeImage(
            [this](int iRow, const unsigned char* pRgb) { preview.takeRow(iRow, pRgb); });
    }
    bPreviewShown = sRefused.empty();
    frames->arrive();
}

SGenomeNow CFramePlayer::frameNow(const SGenomeNow& shown, const std::string& sRefused) const {
    SGenomeNow now = shown;
    now.genome = now.original = frames->genomeOf(frames->shown());
    now.iPick = now.iMutations = 0;
    now.bRandom = false;
    now.sRefused = sRefused;
    return now;
}

std::unique_ptr<CGenomeRender> CFramePlayer::wholeRender(unsigned int uSeed, int iThreads,
                                                         std::string& sRefused) {
    std::unique_ptr<CGenomeRender> pRender =
        frames->render(frames->shown(), uSeed, iThreads, sRefused);
    bPreviewShown = bPreviewShown && pRender;
    bSaveOnceDrawn = bSaveOnceDrawn && pRender;  // nothing to save
    return pRender;
}

void CFramePlayer::leave() {
    if (frames) frames->leave();
    bSaveOnceDrawn = bPreviewShown = false;
}

bool CFramePlayer::pauseToSave() {
    bSaveOnceDrawn = true;
    if (!frames->playing()) return false;
    frames->pause();
    return true;
}

double CFramePlayer::timeToSave() const {
    return frames->timeOf(busy() ? frames->coming() : frames->shown());
}

unsigned int CFramePlayer::seedShown(unsigned int uSeed) const {
    return shown() ? frames->seedOf(frames->shown(), uSeed) : uSeed;
}
