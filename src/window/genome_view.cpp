#include "window/genome_view.h"

#include "editing/genome_frame.h"
#include "runs/progress.h"
#include "base/number_text.h"
#include "display/draw.h"
#include "window/genome_window.h"
#include "display/x_link.h"

#include <GL/gl.h>
#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <iostream>

SGenomeWindow theGenomeWindow;

namespace {

using Clock = SGenomeWindow::Clock;
SGenomeWindow& window = theGenomeWindow;

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

int shownWidth() { return window.shrunk.width(); }
int shownHeight() { return window.shrunk.height(); }

// Picture row iRow (the top one 0), added into its window row, which is written out with its
// last picture row. The picture is opaque.
void takeRow(int iRow, const unsigned char* pRgb) {
    CShrinkRows& shrunk = window.shrunk;
    for (int i = 0; i < window.now.genome.iWidth; i++) {
        const unsigned char ucPixel[4] = {pRgb[3 * i], pRgb[3 * i + 1], pRgb[3 * i + 2], 255};
        shrunk.add(i, ucPixel);
    }
    if (!shrunk.endsWindowRow(iRow)) return;
    const int iWindowRow = iRow / shrunk.factor();
    const size_t iBottomRow = static_cast<size_t>(shrunk.height() - 1 - iWindowRow);
    unsigned char* pBytes = &window.vBytes[4 * iBottomRow * static_cast<size_t>(shrunk.width())];
    shrunk.writeRow(iWindowRow, pBytes,
                    [](double dAverage) { return static_cast<unsigned char>(dAverage + 0.5); });
}

// The samples so far, tone-mapped into the window's bytes, and shown at the next redraw.
void showSoFar() {
    const Clock::time_point begun = Clock::now();
    window.pRender->writeImage(takeRow);
    window.iLastImageMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun).count());
    window.nextRefresh =
        Clock::now() + std::chrono::milliseconds(std::max(iRefreshMs, 4 * window.iLastImageMs));
    window.play.bPreviewShown = false;
    retitle();
    glutPostRedisplay();
}

void draw() {
    if (window.play.bPreviewShown) return window.play.preview.draw();  // a frame's, enlarged
    glRasterPos2i(0, 0);
    glDrawPixels(shownWidth(), shownHeight(), GL_RGBA, GL_UNSIGNED_BYTE, window.vBytes.data());
}

bool nothingYet() { return false; }  // a genome is always shown growing

void begin() {
    window.iShownCount++;
    window.bFinished = !window.now.sRefused.empty();
    window.bFirstFrameDue = true;
    window.nextRefresh = Clock::now() + std::chrono::milliseconds(iRefreshMs);
}

bool work() {
    if (window.bSaveAsked) saveAskedFor();  // once, however many times s was pressed meanwhile
    if (workFrames()) return true;
    if (window.bFinished) return false;
    const auto budget = window.bFirstFrameDue ? firstSliceTime : sliceTime;
    const bool bMore = window.pRender->continueRender(
        std::chrono::duration_cast<std::chrono::milliseconds>(budget));
    reportProgress(window.pRender->samplesDone(), window.pRender->samplesTotal());
    if (!bMore) window.bFinished = true;
    if (!bMore && window.play.bSaveOnceDrawn) saveAskedFor();
    // A refresh waits while an event does: a key that browses on would not see it anyway.
    const bool bRefreshDue = Clock::now() >= window.nextRefresh && !eventWaiting();
    if (!bMore || window.bFirstFrameDue || bRefreshDue) showSoFar();
    window.bFirstFrameDue = false;
    return !window.bFinished;
}

SShownState state() {
    SShownState shown;
    shown.genome = window.now;
    return shown;
}

void showNext(const SShownState& next) {
    window.vHistory.push_back(window.now);
    if (window.vHistory.size() > iLongestHistory) window.vHistory.erase(window.vHistory.begin());
    showGenome(next.genome);
}

int shownCount() { return window.iShownCount; }

// The wheel zooms about the point of the picture under the pointer, which stays under it.
void wheel(int iX, int iY, double dFactor) {
    const int iFactor = window.shrunk.factor();
    const double dPixelX = (iX + 0.5) * iFactor, dPixelY = (iY + 0.5) * iFactor;
    browse([dPixelX, dPixelY, dFactor](const SShownState& shown) {
               SShownState next = shown;
               next.genome.genome = zoomedAbout(shown.genome.genome, dPixelX, dPixelY, dFactor);
               return next;
           },
           0, false);
}

// A note's end: the title without it, unless a later note has taken its place.
void noteEnded(int iNote) {
    if (iNote != window.iNotes) return;
    window.sNote.clear();
    retitle();
}

}  // namespace

const SViewKind genomeView = {shownWidth, shownHeight, begin,    work,       draw,
                              nothingYet, state,       showNext, shownCount, wheel};

void showGenome(const SGenomeNow& next) {
    std::unique_ptr<CGenomeRender> pNext;
    if (next.sRefused.empty()) {
        pNext = std::make_unique<CGenomeRender>(next.genome, next.uSeed, window.iThreads);
        if (!pNext->error().empty()) {
            clearProgressLine();
            std::cerr << "flames: " << shownText(next.genome.sName) << ": " << pNext->error()
                      << std::endl;
            return;
        }
    }
    leaveFrames();
    showRendered(next, std::move(pNext));
}

void showRendered(const SGenomeNow& next, std::unique_ptr<CGenomeRender> pNext) {
    if (pNext) window.pRender = std::move(pNext);
    resizeWindowFor(next.genome);
    window.now = next;
    begin();
    if (!next.sRefused.empty()) {  // nothing to show but why
        std::fill(window.vBytes.begin(), window.vBytes.end(), 0);
        glutPostRedisplay();
    }
    retitle();
}

// A genome of another size than the one before: the window takes its size, shrunk as it needs.
void resizeWindowFor(const SGenome& genome) {
    SGenome& shown = window.now.genome;
    if (genome.iWidth == shown.iWidth && genome.iHeight == shown.iHeight) return;
    shown.iWidth = genome.iWidth, shown.iHeight = genome.iHeight;
    fitGenomeViewTo(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    glutReshapeWindow(shownWidth(), shownHeight());
}

void retitle(const std::string& sNote) {
    if (!sNote.empty()) {
        window.sNote = sNote;
        glutTimerFunc(iNoteMs, noteEnded, ++window.iNotes);
    }
    const std::string sTitle = genomeTitle();
    if (sTitle == window.sTitle) return;
    window.sTitle = sTitle;
    glutSetWindowTitle(sTitle.c_str());
}

bool prepareGenomeView(const SGenomeChoice& choice, const SOptions& given, int iThreadsAsked,
                       std::string& sError, std::unique_ptr<CGenomeRender> pMade) {
    window.iThreads = iThreadsAsked;
    window.options = given;
    window.sFile = choice.sFile;
    if (!window.sFile.empty() && !window.file.load(window.sFile, sError)) return false;
    SGenomeNow& now = window.now;
    now.genome = now.original = choice.genome;
    now.uSeed = choice.uSeed;
    now.iPick = now.iFilePick = window.sFile.empty() ? 0 : choice.iPick;
    now.bRandom = choice.bRandom;
    now.uRandom = choice.uRandom;
    window.pRender = pMade ? std::move(pMade)
                           : std::make_unique<CGenomeRender>(now.genome, now.uSeed,
                                                             window.iThreads);
    if (choice.iSamplesDone >= 0) window.pRender->limitSamples(choice.iSamplesDone);
    sError = window.pRender->error();
    return sError.empty();
}

// What the title says of the genome: where it came from, and how it is drawn (or why it is not).
std::string genomeCaption() {
    const SGenomeNow& now = window.now;
    std::string sCaption;
    if (now.iPick > 0) {
        const std::string sName = window.file.name(now.iPick - 1);
        sCaption = shownText(window.sFile) + ", flame " + std::to_string(now.iPick) + " of " +
                   std::to_string(window.file.count()) +
                   (sName.empty() ? "" : ", " + shownText(sName));
    } else if (now.bRandom) {
        sCaption = "random genome " + std::to_string(now.uRandom);
    } else {
        const std::string& sName = now.genome.sName;
        sCaption = "flame " + (sName.empty() ? std::string("without a name") : shownText(sName));
    }
    if (now.iMutations > 0) sCaption += ", mutation " + std::to_string(now.iMutations);
    return sCaption;
}

std::string genomeTitle() {
    const SGenomeNow& now = window.now;
    const SFramePlay& play = window.play;
    const bool bPreview = framePlaying() && play.bPreviewShown;  // the title says its quality
    std::string sCaption = frameShown() ? shownText(window.sFile) + ", " +
                                              play.frames->caption(play.frames->shown())
                                        : genomeCaption();
    if (!now.sRefused.empty()) {
        sCaption += ": not drawn: " + shownText(now.sRefused);
    } else {
        sCaption += ", quality " + shortest(bPreview ? play.dPreviewQuality : now.genome.dQuality) +
                    ", zoom " + shortest(now.genome.dZoom);
        if (framePlaying())
            sCaption += ", playing";
        else if (!window.bFinished && window.pRender)
            sCaption += ", " + std::to_string(static_cast<int>(100 * window.pRender->shareDone())) +
                        " % drawn";
    }
    if (!window.sNote.empty()) sCaption += ", " + window.sNote;
    return windowTitle(sCaption, window.shrunk.factor());
}

void fitGenomeViewTo(int iScreenWidth, int iScreenHeight) {
    const int iWidth = window.now.genome.iWidth, iHeight = window.now.genome.iHeight;
    window.shrunk = CShrinkRows(iWidth, iHeight,
                                shrinkFactor(iWidth, iHeight, iScreenWidth, iScreenHeight));
    window.vBytes.assign(4 * static_cast<size_t>(shownWidth()) * static_cast<size_t>(shownHeight()),
                         0);
}
