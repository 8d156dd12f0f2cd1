#include "views/genome_view.h"

#include "base/number_text.h"
#include "display/draw.h"
#include "display/x_link.h"
#include "editing/genome_frame.h"
#include "files/genome_file.h"
#include "runs/progress.h"

#include <GL/gl.h>
#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace {

using Clock = CGenomeView::Clock;

// Batches between two turns of the window's events; a browsed genome's first frame comes after
// the least slice there is, a batch a worker: the fewer buckets are hit, the sooner density
// estimation is through with them (a 320 x 320 genome's first frame then takes 10 ms, not 25).
// The picture of the samples so far is tone-mapped twice a second, or less often where that
// takes long, so that it takes at most a fifth of the render's time.
constexpr auto sliceTime = std::chrono::milliseconds(10);  // a key waits for a slice at most
constexpr auto firstSliceTime = std::chrono::milliseconds(1);
constexpr int iRefreshMs = 500;
constexpr size_t iLongestHistory = 100;  // of genomes u goes back through
constexpr int iNoteMs = 4000;            // how long the title says a file was saved

// The one view of the window: GLUT's callbacks are plain functions, with nothing to say which.
CGenomeView theView;

void noteEndedOf(int iNote) { theView.noteEnded(iNote); }

}  // namespace

CGenomeView& theGenomeView() { return theView; }

const SViewKind genomeView = {
    [] { return theView.width(); },
    [] { return theView.height(); },
    [] { theView.begin(); },
    [] { return theView.work(); },
    [] { theView.draw(); },
    [] { return false; },  // nothing yet: a genome is always shown growing
    [] { return theView.state(); },
    [](const SShownState& next) { theView.showNext(next); },
    [] { return theView.shownCount(); },
    [](int iX, int iY, double dFactor) { theView.wheel(iX, iY, dFactor); }};

// Picture row iRow (the top one 0), added into its window row, which is written out with its
// last picture row. The picture is opaque.
void CGenomeView::takeRow(int iRow, const unsigned char* pRgb) {
    for (int i = 0; i < now.genome.iWidth; i++) {
        const unsigned char ucPixel[4] = {pRgb[3 * i], pRgb[3 * i + 1], pRgb[3 * i + 2], 255};
        shrunk.add(i, ucPixel);
    }
    if (!shrunk.endsWindowRow(iRow)) return;
    const int iWindowRow = iRow / shrunk.factor();
    const size_t iBottomRow = static_cast<size_t>(shrunk.height() - 1 - iWindowRow);
    unsigned char* pBytes = &vBytes[4 * iBottomRow * static_cast<size_t>(shrunk.width())];
    shrunk.writeRow(iWindowRow, pBytes,
                    [](double dAverage) { return static_cast<unsigned char>(dAverage + 0.5); });
}

// The samples so far, tone-mapped into the window's bytes, and shown at the next redraw.
void CGenomeView::showSoFar() {
    const Clock::time_point begun = Clock::now();
    pRender->writeImage([this](int iRow, const unsigned char* pRgb) { takeRow(iRow, pRgb); });
    iLastImageMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun).count());
    nextRefresh = Clock::now() + std::chrono::milliseconds(std::max(iRefreshMs, 4 * iLastImageMs));
    player.hidePreview();
    retitle();
    glutPostRedisplay();
}

void CGenomeView::draw() const {
    if (player.previewShown()) return player.drawPreview();  // a frame's, enlarged
    glRasterPos2i(0, 0);
    glDrawPixels(width(), height(), GL_RGBA, GL_UNSIGNED_BYTE, vBytes.data());
}

void CGenomeView::begin() {
    iShownCount++;
    bFinished = !now.sRefused.empty();
    bFirstFrameDue = true;
    nextRefresh = Clock::now() + std::chrono::milliseconds(iRefreshMs);
}

bool CGenomeView::work() {
    if (bSaveAsked) saveAskedFor();  // once, however many times s was pressed meanwhile
    if (workFrames()) return true;
    if (bFinished) return false;
    const auto budget = bFirstFrameDue ? firstSliceTime : sliceTime;
    const bool bMore =
        pRender->continueRender(std::chrono::duration_cast<std::chrono::milliseconds>(budget));
    reportProgress(pRender->samplesDone(), pRender->samplesTotal());
    if (!bMore) bFinished = true;
    if (!bMore && player.saveDue()) saveAskedFor();
    // A refresh waits while an event does: a key that browses on would not see it anyway.
    const bool bRefreshDue = Clock::now() >= nextRefresh && !eventWaiting();
    if (!bMore || bFirstFrameDue || bRefreshDue) showSoFar();
    bFirstFrameDue = false;
    return !bFinished;
}

SShownState CGenomeView::state() const {
    SShownState shown;
    shown.genome = now;
    return shown;
}

void CGenomeView::showNext(const SShownState& next) {
    vHistory.push_back(now);
    if (vHistory.size() > iLongestHistory) vHistory.erase(vHistory.begin());
    showGenome(next.genome);
}

// The wheel zooms about the point of the picture under the pointer, which stays under it.
void CGenomeView::wheel(int iX, int iY, double dFactor) {
    const int iFactor = shrunk.factor();
    const double dPixelX = (iX + 0.5) * iFactor, dPixelY = (iY + 0.5) * iFactor;
    browse([dPixelX, dPixelY, dFactor](const SShownState& shown) {
               SShownState next = shown;
               next.genome.genome = zoomedAbout(shown.genome.genome, dPixelX, dPixelY, dFactor);
               return next;
           },
           0, false);
}

bool CGenomeView::stepBack() {
    if (vHistory.empty()) return false;
    const SGenomeNow before = vHistory.back();
    vHistory.pop_back();
    showGenome(before);
    return true;
}

void CGenomeView::noteEnded(int iNote) {
    if (iNote != iNotes) return;
    sNote.clear();
    retitle();
}

void CGenomeView::showGenome(const SGenomeNow& next) {
    std::unique_ptr<CGenomeRender> pNext;
    if (next.sRefused.empty()) {
        pNext = std::make_unique<CGenomeRender>(next.genome, next.uSeed, iThreads);
        if (!pNext->error().empty()) {
            clearProgressLine();
            std::cerr << "flames: " << shownText(next.genome.sName) << ": " << pNext->error()
                      << std::endl;
            return;
        }
    }
    player.leave();
    showRendered(next, std::move(pNext));
}

void CGenomeView::showRendered(const SGenomeNow& next, std::unique_ptr<CGenomeRender> pNext) {
    if (pNext) pRender = std::move(pNext);
    resizeFor(next.genome);
    now = next;
    begin();
    if (!next.sRefused.empty()) {  // nothing to show but why
        std::fill(vBytes.begin(), vBytes.end(), 0);
        glutPostRedisplay();
    }
    retitle();
}

// A genome of another size than the one before: the window takes its size, shrunk as it needs.
void CGenomeView::resizeFor(const SGenome& genome) {
    SGenome& shownGenome = now.genome;
    if (genome.iWidth == shownGenome.iWidth && genome.iHeight == shownGenome.iHeight) return;
    shownGenome.iWidth = genome.iWidth, shownGenome.iHeight = genome.iHeight;
    fitTo(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    glutReshapeWindow(width(), height());
}

void CGenomeView::retitle(const std::string& sNewNote) {
    if (!sNewNote.empty()) {
        sNote = sNewNote;
        glutTimerFunc(iNoteMs, noteEndedOf, ++iNotes);
    }
    const std::string sNewTitle = title();
    if (sNewTitle == sTitle) return;
    sTitle = sNewTitle;
    glutSetWindowTitle(sTitle.c_str());
}

void CGenomeView::said(bool bDone, const std::string& sDone, const char* sFailed,
                       const std::string& sError) {
    clearProgressLine();  // a terminal shows both outputs on one line
    if (bDone) std::cout << sDone << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
    retitle(bDone ? sDone : sFailed + sError);
}

// A frame is saved whole, as --frame T --save draws it: once it is drawn.
void CGenomeView::saveAskedFor() {
    bSaveAsked = false;
    if (!now.sRefused.empty()) return retitle("nothing to save");
    if (player.shown() && (player.busy() || player.playing() || !bFinished))
        return saveFrameOnceDrawn();
    player.saveDone();
    std::string sName, sError;
    const bool bSaved =
        saveGenomePictureAsNew(*pRender, player.seedShown(now.uSeed), sName, sError);
    said(bSaved, "saved " + sName, "not saved: ", sError);
}

bool CGenomeView::prepare(const SGenomeChoice& choice, const SOptions& given, int iThreadsAsked,
                          std::string& sError, std::unique_ptr<CGenomeRender> pMade) {
    iThreads = iThreadsAsked;
    options = given;
    sFile = choice.sFile;
    file.mendNames(given.bLenient);
    if (!sFile.empty() && !file.load(sFile, sError)) return false;
    now.genome = now.original = choice.genome;
    now.uSeed = choice.uSeed;
    now.iPick = now.iFilePick = sFile.empty() ? 0 : choice.iPick;
    now.bRandom = choice.bRandom;
    now.uRandom = choice.uRandom;
    SRenderPlan plan;
    if (!pMade && !planOf(choice, plan, sError)) return false;
    pRender = pMade ? std::move(pMade) : std::make_unique<CGenomeRender>(plan, now.uSeed, iThreads);
    if (choice.iSamplesDone >= 0) pRender->limitSamples(choice.iSamplesDone);
    sError = pRender->error();
    return sError.empty();
}

// What the title says of the genome: where it came from, and how it is drawn (or why it is not).
std::string CGenomeView::caption() const {
    std::string sCaption;
    if (now.iPick > 0) {
        const std::string sName = file.name(now.iPick - 1);
        sCaption = shownText(sFile) + ", flame " + std::to_string(now.iPick) + " of " +
                   std::to_string(file.count()) + (sName.empty() ? "" : ", " + shownText(sName));
    } else if (now.bRandom) {
        sCaption = "random genome " + std::to_string(now.uRandom);
    } else {
        const std::string& sName = now.genome.sName;
        sCaption = "flame " + (sName.empty() ? std::string("without a name") : shownText(sName));
    }
    if (now.iMutations > 0) sCaption += ", mutation " + std::to_string(now.iMutations);
    return sCaption;
}

std::string CGenomeView::title() const {
    const bool bPreview = player.playing() && player.previewShown();  // the title says its quality
    std::string sCaption = player.shown() ? shownText(sFile) + ", " + player.caption() : caption();
    if (!now.sRefused.empty()) {
        sCaption += ": not drawn: " + shownText(now.sRefused);
    } else {
        const double dQuality = bPreview ? player.previewQuality() : now.genome.dQuality;
        sCaption += ", quality " + shortest(dQuality) + ", zoom " + shortest(now.genome.dZoom);
        if (player.playing())
            sCaption += ", playing";
        else if (!bFinished && pRender)
            sCaption += ", " + std::to_string(static_cast<int>(100 * pRender->shareDone())) +
                        " % drawn";
    }
    if (!sNote.empty()) sCaption += ", " + sNote;
    return windowTitle(sCaption, shrunk.factor());
}

void CGenomeView::fitTo(int iScreenWidth, int iScreenHeight) {
    const int iWidth = now.genome.iWidth, iHeight = now.genome.iHeight;
    shrunk = CShrinkRows(iWidth, iHeight,
                         shrinkFactor(iWidth, iHeight, iScreenWidth, iScreenHeight));
    vBytes.assign(4 * static_cast<size_t>(width()) * static_cast<size_t>(height()), 0);
}

bool CGenomeView::prepareFrames(CFrameList frames, const SGenomeChoice& choice,
                                const SOptions& given, int iThreadsAsked, std::string& sError) {
    std::unique_ptr<CGenomeRender> pFirst =
        player.begin(std::move(frames), choice.uSeed, iThreadsAsked, sError);
    if (!pFirst || !prepare(choice, given, iThreadsAsked, sError, std::move(pFirst))) return false;
    now.iPick = 0;  // a frame; n goes on from the flame picked
    return true;
}

void CGenomeView::playOrPause() {
    if (!haveFrames()) return;
    if (!player.playOrPause()) return refine();
    wakeIdle();
}

void CGenomeView::stepFrame(int iStep) {
    if (!haveFrames()) return;
    player.step(iStep);
    wakeIdle();
}

// The window's frames, made at the first key that plays them: false, the title saying why,
// where it has none.
bool CGenomeView::haveFrames() {
    std::string sWhy;
    if (player.listed(sFile, options, sWhy)) return true;
    retitle("no frames to play: " + sWhy);
    return false;
}

// The frame shown drawn whole, growing; its preview stays until the render has drawn more than
// it did, at its first refresh.
void CGenomeView::refine() {
    SGenomeNow next = player.frameNow(now, "");
    std::unique_ptr<CGenomeRender> pWhole =
        player.wholeRender(next.uSeed, iThreads, next.sRefused);
    showRendered(next, std::move(pWhole));
    bFirstFrameDue = !player.previewShown();
}

// The frame coming shown, its preview's picture (none where it is refused, sRefused saying
// why); paused, then drawn whole.
void CGenomeView::arrive(const std::string& sRefused) {
    player.arrive(sRefused, shrunk.factor());
    glutPostRedisplay();
    if (!player.playing()) return refine();
    const SGenomeNow next = player.frameNow(now, sRefused);
    if (!sRefused.empty()) return showRendered(next, nullptr);
    resizeFor(next.genome);
    now = next;
    retitle();
}

bool CGenomeView::workFrames() {
    std::string sRefused;
    if (!player.busy()) return false;
    if (player.prepareComing(shrunk.factor(), now.uSeed, iThreads, sRefused)) arrive(sRefused);
    return true;
}

// Playing, on the frame shown; paused, the frame stepped to where one is coming.
void CGenomeView::saveFrameOnceDrawn() {
    if (player.pauseToSave()) refine();
    retitle("saving frame " + shortest(player.timeToSave()) + " once drawn");
    wakeIdle();
}
