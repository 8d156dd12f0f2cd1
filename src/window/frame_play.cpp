#include "window/frame_play.h"

#include "base/number_text.h"
#include "window/genome_view.h"
#include "window/genome_window.h"
#include "window/view.h"

#include <GL/glut.h>

#include <algorithm>

namespace {

SGenomeWindow& window = theGenomeWindow;
SFramePlay& play = theGenomeWindow.play;

constexpr auto sliceTime = std::chrono::milliseconds(10);  // a key waits for a slice at most

CFrameList& frames() { return *play.frames; }

// The genome of the frame shown as the window holds it: the browsing keys go on from it, n
// and p from the file's flame shown last.
SGenomeNow frameNow(const std::string& sRefused) {
    SGenomeNow now = window.now;
    now.genome = now.original = frames().genomeOf(frames().shown());
    now.iPick = now.iMutations = 0;
    now.bRandom = false;
    now.sRefused = sRefused;
    return now;
}

// The frame shown drawn whole, growing; its preview stays until the render has drawn more than
// it did, at its first refresh.
void refine() {
    SGenomeNow now = frameNow("");
    std::unique_ptr<CGenomeRender> pRender =
        frames().render(frames().shown(), now.uSeed, window.iThreads, now.sRefused);
    play.bPreviewShown = play.bPreviewShown && pRender;
    play.bSaveOnceDrawn = play.bSaveOnceDrawn && pRender;  // nothing to save
    showRendered(now, std::move(pRender));
    window.bFirstFrameDue = !play.bPreviewShown;
}

// The frame coming shown, its preview's picture (none where it is refused, sRefused saying
// why); paused, then drawn whole.
void arrive(const std::string& sRefused) {
    if (CGenomeRender* pPreview = frames().preview()) {
        const SGenome& genome = pPreview->renderedGenome();
        play.dPreviewQuality = genome.dQuality;
        play.preview.resize(genome.iWidth, genome.iHeight,
                            std::max(1, frames().previewScale() / window.shrunk.factor()));
        pPreview->writeImage(
            [](int iRow, const unsigned char* pRgb) { play.preview.takeRow(iRow, pRgb); });
    }
    play.bPreviewShown = sRefused.empty();
    frames().arrive();
    glutPostRedisplay();
    if (!frames().playing()) return refine();
    const SGenomeNow now = frameNow(sRefused);
    if (!sRefused.empty()) return showRendered(now, nullptr);
    resizeWindowFor(now.genome);
    window.now = now;
    retitle();
}

// The window's frames, made at the first key that plays them: false, the title saying why,
// where it has none.
bool haveFrames() {
    std::string sWhy = "not from a genome file";
    if (!play.frames && !window.sFile.empty()) listFrames(window.options, play.frames, sWhy);
    if (!play.frames) retitle("no frames to play: " + sWhy);
    return play.frames.has_value();
}

}  // namespace

bool prepareFramesView(CFrameList listed, const SGenomeChoice& choice, const SOptions& options,
                       int iThreads, std::string& sError) {
    play.frames.emplace(std::move(listed));
    frames().step(1);
    frames().arrive();
    std::unique_ptr<CGenomeRender> pRender = frames().render(0, choice.uSeed, iThreads, sError);
    if (!pRender) sError = "frame " + shortest(frames().timeOf(0)) + ": " + sError;
    if (!pRender || !prepareGenomeView(choice, options, iThreads, sError, std::move(pRender)))
        return false;
    window.now.iPick = 0;  // a frame; n goes on from the flame picked
    return true;
}

void playOrPause(int) {
    if (!haveFrames()) return;
    if (!frames().playOrPause()) return refine();
    if (frames().playing()) play.bSaveOnceDrawn = false;
    wakeIdle();
}

void stepFrame(int iKey) {
    if (!haveFrames()) return;
    frames().step(iKey == '<' ? -1 : 1);
    wakeIdle();
}

bool frameShown() { return play.frames && frames().isShown(); }
bool framePlaying() { return frameShown() && frames().playing(); }
bool framesBusy() { return play.frames && frames().coming() >= 0; }

bool workFrames() {
    std::string sRefused;
    if (!framesBusy()) return false;
    if (frames().prepareComing(window.shrunk.factor(), window.now.uSeed, window.iThreads,
                               sliceTime, sRefused))
        arrive(sRefused);
    return true;
}

void leaveFrames() {
    if (play.frames) frames().leave();
    play.bSaveOnceDrawn = play.bPreviewShown = false;
}

// Playing, on the frame shown; paused, the frame stepped to where one is coming.
void saveFrameOnceDrawn() {
    play.bSaveOnceDrawn = true;
    if (frames().playing()) {
        frames().pause();
        refine();
    }
    const int iFrame = framesBusy() ? frames().coming() : frames().shown();
    retitle("saving frame " + shortest(frames().timeOf(iFrame)) + " once drawn");
    wakeIdle();
}

unsigned int shownSeed() {
    return frameShown() ? frames().seedOf(frames().shown(), window.now.uSeed) : window.now.uSeed;
}
