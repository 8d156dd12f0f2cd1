#include "views/pattern_view.h"

#include "app/browse.h"
#include "core/colouring.h"
#include "files/picture_file.h"
#include "runs/progress.h"
#include "runs/runner.h"
#include "text/text_forms.h"
#include "display/draw.h"
#include "display/x_link.h"

#include <GL/glut.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Iterations run between two turns of the window's events: short enough that closing it or a
// key is answered at once, long enough that the turn costs nothing. A slice ends sooner where
// an event is waiting, as the queue of GLUT's connection tells after every block.
constexpr auto sliceTime = std::chrono::milliseconds(20);
constexpr auto firstSliceTime = std::chrono::milliseconds(5);  // a browsed run's, then its frame
constexpr int iSliceBlock = 1 << 16;
constexpr unsigned int iRefreshMs = 500;  // live: the picture of the hits so far, twice a second

// What the window shows: one run's computation, which holds its hits and their colouring, and
// whether it is shown growing. Replacing the run is one assignment.
struct SShown {
    CRunner runner;
    bool    bLive;
};

// The pattern window, all it holds between GLUT's callbacks.
struct SPatternWindow {
    std::optional<SShown> shown;
    int  iRunsShown = 0;  // runs begun; a refresh of an earlier one is not for this one
    bool bFirstFrameDue = false;  // a browsed run's first frame, drawn after its first slice
    bool bRunFinished = false;    // the run shown has all its hits, and its picture is coloured
    bool bNothingYet = false;     // black: the first frame of a run not live is its last
    bool bHinted = false;         // the keys told of on a terminal, once
    // A picture larger than the screen is shown at 1/k, in colours of the window's size only;
    // one that fits is coloured and drawn whole, as it always was. Browsing keeps the size, so
    // k stays.
    std::optional<CShrunkPicture> shrunk;
    std::vector<unsigned char> vDrawn;  // a picture that fits, as last drawn
};

SPatternWindow window;

CRunner& runner() { return window.shown->runner; }
CCalculation& myCalc() { return window.shown->runner.calc(); }
screen& myScreen() { return myCalc().picture(); }

bool running() { return runner().iterationsDone() < myCalc().parameters().iIterations; }

int shownWidth() { return window.shrunk ? window.shrunk->width() : myScreen().width(); }
int shownHeight() { return window.shrunk ? window.shrunk->height() : myScreen().height(); }

// The hits as they stand in the colouring chosen. Hits only grow, so every pixel coloured before
// is coloured again, and the last time gives the very picture of a run coloured once.
void colourHitsSoFar() {
    myCalc().calculateHitsToColour(myScreen().width(), myScreen().height());
}

// From a clean slate, for another colouring: a pixel keeps no colour of the one before.
void recolour() {
    myScreen().clearColours();
    colourHitsSoFar();
}

// The hits so far in the window at the next redraw. A shrunk picture is coloured anew in steps
// between the events, and redrawn once it is through.
void showHitsSoFar() {
    if (window.shrunk) return window.shrunk->beginColouring(myScreen(), myCalc().iColourType);
    colourHitsSoFar();
    glutPostRedisplay();
}

void showRecoloured() {
    if (window.shrunk) return window.shrunk->beginColouring(myScreen(), myCalc().iColourType);
    recolour();
    glutPostRedisplay();
}

bool pictureShown() { return window.shown->bLive || !running(); }

// A shrunk picture that takes long to colour is refreshed less often, so that colouring takes
// at most a fifth of the time the run has.
unsigned int refreshMs() {
    if (!window.shrunk) return iRefreshMs;
    return std::max(iRefreshMs, 4 * static_cast<unsigned int>(window.shrunk->lastColouringMs()));
}

void refreshLive(int iRun) {
    if (iRun != window.iRunsShown || !running()) return;
    // A shrunk picture still being coloured goes on with the last refresh.
    if (!window.shrunk || !window.shrunk->colouring()) showHitsSoFar();
    glutTimerFunc(refreshMs(), refreshLive, iRun);
}

void draw() {
    if (window.shrunk) window.shrunk->draw();
    else drawScreen(myScreen(), window.vDrawn);
}

// A shrunk picture's first frame comes once its colouring is through.
void finishRun() {
    window.bRunFinished = true;
    if (!window.shrunk) glutPostRedisplay();
    showHitsSoFar();
    if (!window.bHinted && isatty(STDERR_FILENO))
        std::cerr << "flames: the picture is shown; 1 to 5 colour it anew, n p [ ] + - f 0 r and "
                  << "the arrows browse, s saves it, q quits (also on the right button's menu)"
                  << std::endl;
    window.bHinted = true;
}

void runSlice() {
    const auto slice = window.bFirstFrameDue ? firstSliceTime : sliceTime;
    const Clock::time_point end = Clock::now() + slice;
    bool bMore = true;
    while (bMore && Clock::now() < end && !eventWaiting()) {
        bMore = runner().continueCalculate(iSliceBlock);
        reportProgress(runner().iterationsWorked(), myCalc().parameters().iIterations);
    }
    if (window.bFirstFrameDue && bMore) showHitsSoFar();
    window.bFirstFrameDue = false;
    if (!bMore) finishRun();
}

// The run begins: live, it shows its hits twice a second; otherwise nothing until it is done.
void begin() {
    window.iRunsShown++;
    window.bRunFinished = false;
    runner().beginCalculate();
    window.bNothingYet = !window.shown->bLive;
    if (window.shown->bLive) glutTimerFunc(iRefreshMs, refreshLive, window.iRunsShown);
}

bool work() {
    const bool bColouring = window.shrunk && window.shrunk->colouring();
    if (bColouring) {
        if (window.shrunk->colourRows(myScreen(), Clock::now() + sliceTime, eventWaiting)) {
            window.bNothingYet = false;
            glutPostRedisplay();
        }
    } else if (!window.bRunFinished) {
        runSlice();
        if (window.bRunFinished && !window.shrunk) window.bNothingYet = false;
    }
    return !window.bRunFinished || (window.shrunk && window.shrunk->colouring());
}

bool nothingYet() { return window.bNothingYet; }

SShownState state() {
    SShownState now;
    now.run = myCalc().parameters();
    return now;
}

// The run in progress stops where it is and the next one begins, with the same seed and
// colouring, shown growing; the title says what it is.
void showRun(const SShownState& next) {
    const int iColourType = myCalc().iColourType;
    const int iThreads = runner().threads();
    window.shown.reset();  // its threads stop before the next run's start
    window.shown = SShown{CRunner(next.run, iThreads), true};
    myCalc().iColourType = iColourType;
    // as a picture of the size is before its first colouring
    if (window.shrunk) window.shrunk->clear();
    begin();
    glutSetWindowTitle(patternTitle().c_str());
    window.bFirstFrameDue = true;
    glutPostRedisplay();
}

int shownCount() { return window.iRunsShown; }

// The wheel zooms about the point under the pointer; the picture stands at the window's lower
// left, one pixel a pixel, or one window pixel for k x k of a shrunk picture's.
void wheel(int iX, int iY, double dFactor) {
    const SView& view = myCalc().parameters().view;
    const int iRow = glutGet(GLUT_WINDOW_HEIGHT) - 1 - iY;
    const int iFactor = window.shrunk ? window.shrunk->factor() : 1;
    const double dX =
        view.dXMin + (iX + 0.5) * iFactor / myScreen().width() * (view.dXMax - view.dXMin);
    const double dY =
        view.dYMin + (iRow + 0.5) * iFactor / myScreen().height() * (view.dYMax - view.dYMin);
    browse([dX, dY, dFactor](const SShownState& now) {
               SShownState next = now;
               next.run = zoomAbout(now.run, dX, dY, dFactor);
               return next;
           },
           0, false);
}

}  // namespace

const SViewKind patternView = {shownWidth, shownHeight, begin,     work,       draw,
                               nothingYet, state,       showRun,   shownCount, wheel};

void preparePatternView(const SRun& run, int iColourType, bool bLive, int iThreads) {
    window.shown = SShown{CRunner(run, iThreads), bLive};
    myCalc().iColourType = iColourType;
}

void fitPatternViewTo(int iScreenWidth, int iScreenHeight) {
    const int iFactor =
        shrinkFactor(myScreen().width(), myScreen().height(), iScreenWidth, iScreenHeight);
    if (iFactor > 1) window.shrunk.emplace(myScreen().width(), myScreen().height(), iFactor);
}

// The title names the run once a key has browsed to it: the first run's is the program's own.
std::string patternTitle() {
    const std::string sCaption = window.iRunsShown > 1 ? runCaption(myCalc().parameters()) : "";
    return windowTitle(sCaption, window.shrunk ? window.shrunk->factor() : 1);
}

void chooseColouring(int iKey) {
    myCalc().iColourType = iKey - '0';
    if (!pictureShown()) return;  // the finished picture takes it
    showRecoloured();
    if (window.shrunk) wakeIdle();  // where it is coloured
}

// During the run, the picture as it stands; a live window shows it too.
void savePatternShown(int) {
    if (running() && window.shown->bLive) showHitsSoFar();
    std::string sName, sError;
    const bool bSaved = savePictureAsNew(myCalc(), runner().iterationsDone(), sName, sError);
    clearProgressLine();  // a terminal shows both outputs on one line
    if (bSaved) std::cout << "saved " << sName << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
}
