#include "window/genome_view.h"

#include "files/genome_file.h"
#include "editing/genome_frame.h"
#include "editing/genome_mutate.h"
#include "editing/genome_random.h"
#include "xml/genome_xml.h"
#include "render/render.h"
#include "runs/progress.h"
#include "text/text_forms.h"
#include "window/draw.h"
#include "window/x_link.h"

#include <GL/gl.h>
#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Batches between two turns of the window's events; a browsed genome's first frame comes after
// the least slice there is, a batch a worker: the fewer buckets are hit, the sooner density
// estimation is through with them (a 320 x 320 genome's first frame then takes 10 ms, not 25).
// The picture of the samples so far is tone-mapped twice a second, or less often where that
// takes long, so that it takes at most a fifth of the render's time.
constexpr auto sliceTime = std::chrono::milliseconds(10);  // a key waits for a slice at most
constexpr auto firstSliceTime = std::chrono::milliseconds(1);
constexpr int iRefreshMs = 500;
constexpr size_t iLongestHistory = 100;  // of genomes u goes back through
constexpr int iMenuFlames = 50;          // of the file's flames on the menu

// The genome window, all it holds between GLUT's callbacks.
struct SGenomeWindow {
    SGenomeNow                     now;
    std::unique_ptr<CGenomeRender> pRender;
    std::vector<SGenomeNow>        vHistory;  // what u goes back to, the latest last
    std::vector<SGenome>           vFile;     // the file's flames, the options applied; or none
    std::string                    sFile;     // the file the genome came from; or none
    int                            iThreads = 1;
    SOptions                       options;   // their size and quality apply to every genome
    int                            iShownCount = 0;
    bool                           bFirstFrameDue = false;
    bool                           bFinished = false;
    Clock::time_point              nextRefresh;
    int                            iLastImageMs = 0;
    // A picture larger than the screen is shown at 1/k. The window's bytes only, bottom row
    // first, as GL draws them.
    CShrinkRows                    shrunk{0, 0, 1};
    std::vector<unsigned char>     vBytes;
};

SGenomeWindow window;

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
    glutPostRedisplay();
}

void draw() {
    glRasterPos2i(0, 0);
    glDrawPixels(shownWidth(), shownHeight(), GL_RGBA, GL_UNSIGNED_BYTE, window.vBytes.data());
}

bool nothingYet() { return false; }  // a genome is always shown growing

void begin() {
    window.iShownCount++;
    window.bFinished = false;
    window.bFirstFrameDue = true;
    window.nextRefresh = Clock::now() + std::chrono::milliseconds(iRefreshMs);
}

bool work() {
    if (window.bFinished) return false;
    const auto budget = window.bFirstFrameDue ? firstSliceTime : sliceTime;
    const bool bMore = window.pRender->continueRender(
        std::chrono::duration_cast<std::chrono::milliseconds>(budget));
    reportProgress(window.pRender->samplesDone(), window.pRender->samplesTotal());
    if (!bMore) window.bFinished = true;
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

// A genome as the window shows it: at the size and quality the options ask, where they do.
SGenome asShown(const SGenome& genome) {
    SGenomeChoice choice;
    choice.genome = genome;
    applyGenomeOptions(window.options, choice);
    return choice.genome;
}

// A genome of another size than the one before: the window takes its size, shrunk as it needs.
void resizeFor(const SGenome& genome) {
    SGenome& shown = window.now.genome;
    if (genome.iWidth == shown.iWidth && genome.iHeight == shown.iHeight) return;
    shown.iWidth = genome.iWidth, shown.iHeight = genome.iHeight;
    fitGenomeViewTo(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    glutReshapeWindow(shownWidth(), shownHeight());
}

// The render in progress is dropped (its workers stop within a batch) and the next begins.
void showGenome(const SGenomeNow& next) {
    auto pNext = std::make_unique<CGenomeRender>(next.genome, next.uSeed, window.iThreads);
    if (!pNext->error().empty()) {
        clearProgressLine();
        std::cerr << "flames: " << shownText(next.genome.sName) << ": " << pNext->error()
                  << std::endl;
        return;
    }
    window.pRender.reset();
    window.pRender = std::move(pNext);
    resizeFor(next.genome);
    window.now = next;
    begin();
    glutSetWindowTitle(genomeTitle().c_str());
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

}  // namespace

const SViewKind genomeView = {shownWidth, shownHeight, begin,    work,       draw,
                              nothingYet, state,       showNext, shownCount, wheel};

bool prepareGenomeView(const SGenomeChoice& choice, const SOptions& given, int iThreadsAsked,
                       std::string& sError) {
    window.iThreads = iThreadsAsked;
    window.options = given;
    window.sFile = choice.sFile;
    std::vector<SGenome> vRead;
    if (!window.sFile.empty() && readGenomeFile(window.sFile, vRead, sError))
        for (const SGenome& genome : vRead) window.vFile.push_back(asShown(genome));
    SGenomeNow& now = window.now;
    now.genome = now.original = choice.genome;
    now.uSeed = choice.uSeed;
    now.iPick = window.sFile.empty() ? 0 : choice.iPick;
    now.bRandom = choice.bRandom;
    now.uRandom = choice.uRandom;
    window.pRender = std::make_unique<CGenomeRender>(now.genome, now.uSeed, window.iThreads);
    sError = window.pRender->error();
    return sError.empty();
}

void fitGenomeViewTo(int iScreenWidth, int iScreenHeight) {
    const int iWidth = window.now.genome.iWidth, iHeight = window.now.genome.iHeight;
    window.shrunk = CShrinkRows(iWidth, iHeight,
                                shrinkFactor(iWidth, iHeight, iScreenWidth, iScreenHeight));
    window.vBytes.assign(4 * static_cast<size_t>(shownWidth()) * static_cast<size_t>(shownHeight()),
                         0);
}

std::string genomeTitle() {
    const SGenomeNow& now = window.now;
    const std::string& sName = now.genome.sName;
    std::string sCaption;
    if (now.iPick > 0)
        sCaption = shownText(window.sFile) + ", flame " + std::to_string(now.iPick) + " of " +
                   std::to_string(window.vFile.size()) +
                   (sName.empty() ? "" : ", " + shownText(sName));
    else if (now.bRandom) sCaption = "random genome " + std::to_string(now.uRandom);
    else sCaption = "flame " + (sName.empty() ? std::string("without a name") : shownText(sName));
    if (now.iMutations > 0) sCaption += ", mutation " + std::to_string(now.iMutations);
    return windowTitle(sCaption, window.shrunk.factor());
}

SShownState nextFlame(const SShownState& shown, int iStep) {
    if (window.vFile.empty() || shown.genome.iPick == 0) return shown;
    const int iCount = static_cast<int>(window.vFile.size());
    return pickedFlame(shown, (shown.genome.iPick - 1 + iStep % iCount + iCount) % iCount + 1);
}

SShownState pickedFlame(const SShownState& shown, int iPick) {
    if (iPick < 1 || iPick > static_cast<int>(window.vFile.size())) return shown;
    SShownState next = shown;
    next.genome.genome = next.genome.original = window.vFile[static_cast<size_t>(iPick - 1)];
    next.genome.iPick = iPick;
    next.genome.bRandom = false;
    next.genome.iMutations = 0;
    return next;
}

SShownState randomNext(const SShownState& shown) {
    const SGenomeNow& from = shown.genome;
    const uint32_t uNext = from.bRandom ? from.uRandom + 1 : from.uSeed;
    SGenome genome;
    std::string sError;
    if (!randomGenome(uNext, genome, sError)) {
        std::cerr << "flames: " << sError << std::endl;
        return shown;
    }
    SShownState next = shown;
    next.genome.genome = next.genome.original = asShown(genome);
    next.genome.iPick = 0;
    next.genome.bRandom = true;
    next.genome.uRandom = uNext;
    next.genome.iMutations = 0;
    return next;
}

SShownState mutated(const SShownState& shown) {
    SShownState next = shown;
    next.genome.iMutations++;
    next.genome.genome =
        mutatedGenome(shown.genome.genome, shown.genome.uSeed, next.genome.iMutations);
    return next;
}

SShownState fileCamera(const SShownState& shown) {
    SShownState next = shown;
    SGenome& genome = next.genome.genome;
    const SGenome& original = shown.genome.original;
    genome.dCenterX = original.dCenterX;
    genome.dCenterY = original.dCenterY;
    genome.dScale = original.dScale;
    genome.dZoom = original.dZoom;
    genome.dRotate = original.dRotate;
    return next;
}

void stepBack(int) {
    if (window.vHistory.empty()) return;
    const SGenomeNow before = window.vHistory.back();
    window.vHistory.pop_back();
    showGenome(before);
    wakeIdle();
}

void saveGenomeShown(int) {
    std::string sName, sError;
    const bool bSaved = saveGenomePictureAsNew(*window.pRender, window.now.uSeed, sName, sError);
    clearProgressLine();  // a terminal shows both outputs on one line
    if (bSaved) std::cout << "saved " << sName << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
}

void writeGenomeShown(int) {
    std::string sName, sError;
    const bool bWritten = writeGenomeFileAsNew(window.now.genome, sName, sError);
    clearProgressLine();
    if (bWritten) std::cout << "wrote " << sName << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
}

int fileFlames() { return std::min(static_cast<int>(window.vFile.size()), iMenuFlames); }

std::string fileFlameEntry(int iPick) {
    const std::string& sName = window.vFile[static_cast<size_t>(iPick - 1)].sName;
    return std::to_string(iPick) + " - " + (sName.empty() ? "(no name)" : shownText(sName, 60));
}
