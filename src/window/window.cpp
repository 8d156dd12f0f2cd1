#include "window/window.h"

#include "app/browse.h"
#include "core/colouring.h"
#include "files/picture_file.h"
#include "runs/fit.h"
#include "runs/progress.h"
#include "runs/random_flame.h"
#include "runs/runner.h"
#include "text/text_forms.h"
#include "window/draw.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Iterations run between two turns of the window's events: short enough that closing it or a
// key is answered at once, long enough that the turn costs nothing. A slice ends sooner where
// an event is waiting, as the queue of GLUT's connection tells after every block.
constexpr auto sliceTime = std::chrono::milliseconds(20);
constexpr auto firstSliceTime = std::chrono::milliseconds(5);  // a browsed run's, then its frame
constexpr int iSliceBlock = 1 << 16;
constexpr unsigned int iRefreshMs = 500;  // live: the picture of the hits so far, twice a second
constexpr const char* sWindowTitle = "Vemo's Fractal Flame Test";

// What the window shows: one run's computation, which holds its hits and their colouring, and
// whether it is shown growing. Replacing the run is one assignment.
struct SShown {
    CRunner runner;
    bool    bLive;
};

std::optional<SShown> shown;
int iRunsShown = 0;  // runs begun in the window; a refresh of an earlier one is not for this one
bool bFirstFrameDue = false;  // a browsed run's first frame, drawn after its first slice
bool bRunFinished = false;    // the run shown has all its hits, and its picture is coloured

// A picture larger than the screen is shown at 1/k, in colours of the window's size only; one
// that fits is coloured and drawn whole, as it always was. Browsing keeps the size, so k stays.
std::optional<CShrunkPicture> shrunk;

CRunner& runner() { return shown->runner; }
CCalculation& myCalc() { return shown->runner.calc(); }
screen& myScreen() { return myCalc().picture(); }

bool running() { return runner().iterationsDone() < myCalc().parameters().iIterations; }

int shownWidth() { return shrunk ? shrunk->width() : myScreen().width(); }
int shownHeight() { return shrunk ? shrunk->height() : myScreen().height(); }

// A title says when the window shows the picture smaller than it is.
std::string titled(const std::string& sTitle) {
    if (!shrunk) return sTitle;
    return sTitle + " (shown at 1/" + std::to_string(shrunk->factor()) + ")";
}

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
    if (shrunk) return shrunk->beginColouring(myScreen(), myCalc().iColourType);
    colourHitsSoFar();
    glutPostRedisplay();
}

void showRecoloured() {
    if (shrunk) return shrunk->beginColouring(myScreen(), myCalc().iColourType);
    recolour();
    glutPostRedisplay();
}

bool pictureShown() { return shown->bLive || !running(); }

// A shrunk picture that takes long to colour is refreshed less often, so that colouring takes
// at most a fifth of the time the run has.
unsigned int refreshMs() {
    if (!shrunk) return iRefreshMs;
    return std::max(iRefreshMs, 4 * static_cast<unsigned int>(shrunk->lastColouringMs()));
}

void refreshLive(int iRun) {
    if (iRun != iRunsShown || !running()) return;
    if (!shrunk || !shrunk->colouring()) showHitsSoFar();  // else the last refresh goes on
    glutTimerFunc(refreshMs(), refreshLive, iRun);
}

// A shrunk picture's first frame comes once its colouring is through.
void finishRun() {
    bRunFinished = true;
    if (!shrunk) glutDisplayFunc(display);
    showHitsSoFar();
    static bool bHinted = false;
    if (!bHinted && isatty(STDERR_FILENO))
        std::cerr << "flames: the picture is shown; 1 to 5 colour it anew, n p [ ] + - f 0 r and "
                  << "the arrows browse, s saves it, q quits (also on the right button's menu)"
                  << std::endl;
    bHinted = true;
}

Display* pGlutDisplay = nullptr;  // GLUT's own connection, whose events freeglut reads

bool eventWaiting() {
    return pGlutDisplay && XEventsQueued(pGlutDisplay, QueuedAfterReading) > 0;
}

void runSlice() {
    const Clock::time_point end = Clock::now() + (bFirstFrameDue ? firstSliceTime : sliceTime);
    bool bMore = true;
    while (bMore && Clock::now() < end && !eventWaiting()) {
        bMore = runner().continueCalculate(iSliceBlock);
        reportProgress(runner().iterationsWorked(), myCalc().parameters().iIterations);
    }
    if (bFirstFrameDue && bMore) showHitsSoFar();
    bFirstFrameDue = false;
    if (!bMore) finishRun();
}

void colourShrunkRows() {
    if (!shrunk->colourRows(myScreen(), Clock::now() + sliceTime, eventWaiting)) return;
    glutDisplayFunc(display);
    glutPostRedisplay();
}

// Black and no frame: the first frame of a run that is not live is its finished picture.
void displayNothingYet() {
    glDrawBuffer(GL_FRONT);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    glDrawBuffer(GL_BACK);
}

// A browsing key's next run, made from the run shown once every event that came with the key has
// been read (freeglut reads them all before the idle callback). A later browsing key takes the
// place of one still waiting: keys queued behind a slow moment start one run, not each its own.
struct SBrowse {
    std::function<SRun(const SRun&)> next;
    int  iKey;   // the key that asked for it; 0: the wheel or the menu
    bool bSlow;  // a fit to the orbit, a tenth of a second or more: made on a thread of its own
};

std::optional<SBrowse> waitingBrowse;

// A slow next run in the making on a thread of its own, so that the window goes on answering (q
// above all) meanwhile. The thread is never waited for: what it makes is dropped if the window
// has moved on by then, and the program may end before it has.
struct SMade {
    std::atomic<bool> bMade{false};
    SRun run;
};

struct SMaking {
    std::shared_ptr<SMade> pMade;
    int iKey;
    int iFromRun;  // the run shown it is made from
};

std::optional<SMaking> making;

void whileIdle();

// The run in progress stops where it is and the next one begins, with the same seed and
// colouring, shown growing; the title says what it is.
void showRun(const SRun& run);

void browse(SBrowse next) {
    waitingBrowse = std::move(next);
    glutIdleFunc(whileIdle);
}

void startMaking(const SBrowse& next) {
    const std::shared_ptr<SMade> pMade = std::make_shared<SMade>();
    std::thread([pMade, makeNext = next.next, run = myCalc().parameters()] {
        pMade->run = makeNext(run);
        pMade->bMade.store(true, std::memory_order_release);
    }).detach();
    making = SMaking{pMade, next.iKey, iRunsShown};
}

// What was made is shown if nothing has come after it; one slow run is made at a time, so that
// keys of a slow kind take no more cores than one.
void actOnBrowsing() {
    if (making && making->pMade->bMade.load(std::memory_order_acquire)) {
        const bool bLatest = !waitingBrowse && making->iFromRun == iRunsShown;
        const SRun run = making->pMade->run;
        making.reset();
        if (bLatest) showRun(run);
    }
    if (!waitingBrowse) return;
    if (!waitingBrowse->bSlow) {
        const SBrowse next = std::move(*waitingBrowse);
        waitingBrowse.reset();
        return showRun(next.next(myCalc().parameters()));
    }
    const bool bSame = making && making->iKey == waitingBrowse->iKey &&
                       making->iFromRun == iRunsShown;
    if (bSame) waitingBrowse.reset();  // the very run is in the making
    if (making) return;
    startMaking(*waitingBrowse);
    waitingBrowse.reset();
}

// Between the window's events: browsing first, then a shrunk picture's colouring, then the run.
// Once there is nothing left to do, the window only waits for its events.
void whileIdle() {
    actOnBrowsing();
    if (shrunk && shrunk->colouring()) colourShrunkRows();
    else if (!bRunFinished) runSlice();
    else if (making) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const bool bColouring = shrunk && shrunk->colouring();
    if (bRunFinished && !bColouring && !waitingBrowse && !making) glutIdleFunc(nullptr);
}

// The run begins: live, it shows its hits twice a second; otherwise nothing until it is done.
void beginShown() {
    iRunsShown++;
    bRunFinished = false;
    runner().beginCalculate();
    glutDisplayFunc(shown->bLive ? display : displayNothingYet);
    if (shown->bLive) glutTimerFunc(iRefreshMs, refreshLive, iRunsShown);
    glutIdleFunc(whileIdle);
}

void showRun(const SRun& run) {
    const int iColourType = myCalc().iColourType;
    const int iThreads = runner().threads();
    shown.reset();  // its threads stop before the next run's start
    shown = SShown{CRunner(run, iThreads), true};
    myCalc().iColourType = iColourType;
    if (shrunk) shrunk->clear();  // as a picture of the size is before its first colouring
    glutSetWindowTitle(titled(std::string(sWindowTitle) + ": " + runCaption(run)).c_str());
    beginShown();
    bFirstFrameDue = true;
    glutPostRedisplay();
}

void chooseColouring(int iKey) {
    myCalc().iColourType = iKey - '0';
    if (!pictureShown()) return;  // the finished picture takes it
    showRecoloured();
    if (shrunk) glutIdleFunc(whileIdle);  // where it is coloured
}

// During the run, the picture as it stands; a live window shows it too.
void savePictureShown(int) {
    if (running() && shown->bLive) showHitsSoFar();
    std::string sName, sError;
    const bool bSaved = savePictureAsNew(myCalc(), runner().iterationsDone(), sName, sError);
    clearProgressLine();  // a terminal shows both outputs on one line
    if (bSaved) std::cout << "saved " << sName << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
}

void quit(int) { std::exit(0); }  // as closing the window does

SRun nextPattern(const SRun& run, int) { return stepPattern(run, 1); }
SRun previousPattern(const SRun& run, int) { return stepPattern(run, -1); }
SRun moreIterations(const SRun& run, int) { return scaleIterations(run, true); }
SRun fewerIterations(const SRun& run, int) { return scaleIterations(run, false); }
SRun zoomIn(const SRun& run, int) { return zoomCentre(run, 2); }
SRun zoomOut(const SRun& run, int) { return zoomCentre(run, 0.5); }
SRun fitToOrbit(const SRun& shownRun, int) {
    SRun run = shownRun;
    run.view = fitView(run);
    return run;
}
// The next flame seed: after a random flame, its seed's successor; else the run's own seed.
SRun newRandomFlame(const SRun& shownRun, int) {
    SRun run = shownRun;
    const unsigned int uNext = run.flame.bRandom ? run.flame.uSeed + 1 : run.uSeed;
    run.flame = randomFlame(uNext);
    run.view = fitView(run);
    return run;
}

SRun defaultView(const SRun& shownRun, int) {
    SRun run = shownRun;
    run.view = SView();
    return run;
}

// Keys are their characters; GLUT's special keys (arrows, pages) come after them.
constexpr int iSpecial = 256;
constexpr int iEscape = 27;

// A quarter of the view's width or height towards the arrow: what lay that way comes in.
SRun moveByArrow(const SRun& run, int iKey) {
    const int iArrow = iKey - iSpecial;
    const double dRight = iArrow == GLUT_KEY_RIGHT ? 0.25 : iArrow == GLUT_KEY_LEFT ? -0.25 : 0;
    const double dUp = iArrow == GLUT_KEY_UP ? 0.25 : iArrow == GLUT_KEY_DOWN ? -0.25 : 0;
    return moveView(run, dRight, dUp);
}

// A key acts at once (pfAction: colouring, saving, quitting), or browses to the run pfNext makes
// of the one shown, once the events queued with it are read.
struct SKey {
    int         iKey;
    const char* sMenuEntry;  // null: not on the menu
    void (*pfAction)(int iKey);
    SRun (*pfNext)(const SRun& run, int iKey);
    bool        bSlow;  // the next run takes a tenth of a second or more to make
};

// The colourings' keys, 1 to iColourCount, are made from their table; these come after them.
static_assert(iColourCount <= 9, "a colouring a digit key");
const SKey windowKeys[] = {
    {'n', "Next pattern (n)", nullptr, nextPattern, false},
    {iSpecial + GLUT_KEY_PAGE_DOWN, nullptr, nullptr, nextPattern, false},
    {'p', "Previous pattern (p)", nullptr, previousPattern, false},
    {iSpecial + GLUT_KEY_PAGE_UP, nullptr, nullptr, previousPattern, false},
    {']', "Ten times the iterations (])", nullptr, moreIterations, false},
    {'[', "A tenth of the iterations ([)", nullptr, fewerIterations, false},
    {'+', "Zoom in (+)", nullptr, zoomIn, false},
    {'=', nullptr, nullptr, zoomIn, false},  // + without the shift key
    {'-', "Zoom out (-)", nullptr, zoomOut, false},
    {iSpecial + GLUT_KEY_LEFT, nullptr, nullptr, moveByArrow, false},
    {iSpecial + GLUT_KEY_RIGHT, nullptr, nullptr, moveByArrow, false},
    {iSpecial + GLUT_KEY_UP, nullptr, nullptr, moveByArrow, false},
    {iSpecial + GLUT_KEY_DOWN, nullptr, nullptr, moveByArrow, false},
    {'f', "Fit the view to the orbit (f)", nullptr, fitToOrbit, true},
    {'0', "Default view (0)", nullptr, defaultView, false},
    {'r', "New random flame (r)", nullptr, newRandomFlame, true},
    {'s', "Save picture", savePictureShown, nullptr, false},
    {'q', "Quit", quit, nullptr, false},
    {iEscape, nullptr, quit, nullptr, false},
};

bool isColouringKey(int iKey) { return iKey >= '1' && iKey < '1' + iColourCount; }

void keyPressed(int iKey) {
    if (isColouringKey(iKey)) return chooseColouring(iKey);
    for (const SKey& key : windowKeys) {
        if (key.iKey != iKey) continue;
        if (key.pfAction) key.pfAction(iKey);
        else browse({[pfNext = key.pfNext, iKey](const SRun& run) { return pfNext(run, iKey); },
                     iKey, key.bSlow});
    }
}

void characterPressed(unsigned char cKey, int, int) { keyPressed(cKey); }
void specialPressed(int iKey, int, int) { keyPressed(iSpecial + iKey); }

// The wheel zooms about the point under the pointer; the picture stands at the window's lower
// left, one pixel a pixel, or one window pixel for k x k of a shrunk picture's.
void mouseUsed(int iButton, int iState, int iX, int iY) {
    constexpr int iWheelUp = 3, iWheelDown = 4;  // as freeglut reports the wheel's steps
    if (iState != GLUT_DOWN || (iButton != iWheelUp && iButton != iWheelDown)) return;
    const SView& view = myCalc().parameters().view;
    const int iRow = glutGet(GLUT_WINDOW_HEIGHT) - 1 - iY;
    const int iFactor = shrunk ? shrunk->factor() : 1;
    const double dX =
        view.dXMin + (iX + 0.5) * iFactor / myScreen().width() * (view.dXMax - view.dXMin);
    const double dY =
        view.dYMin + (iRow + 0.5) * iFactor / myScreen().height() * (view.dYMax - view.dYMin);
    const double dFactor = iButton == iWheelUp ? 2 : 0.5;
    browse({[dX, dY, dFactor](const SRun& run) { return zoomAbout(run, dX, dY, dFactor); }, 0,
            false});
}

constexpr int iPatternEntry = 1024;  // a menu value: this plus a pattern's number

void menuChosen(int iValue) {
    if (iValue < iPatternEntry) return keyPressed(iValue);
    const int iPattern = iValue - iPatternEntry;
    browse({[iPattern](const SRun& shownRun) {
                SRun run = shownRun;
                run.iPattern = iPattern;
                run.flame = SFlame();
                return run;
            },
            0, false});
}

void attachMenu() {
    const int iPatterns = glutCreateMenu(menuChosen);
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++)
        glutAddMenuEntry(patternTable[iPattern - 1].sMenuLine, iPatternEntry + iPattern);
    glutCreateMenu(menuChosen);
    glutAddSubMenu("Pattern", iPatterns);
    for (int iColour = 1; iColour <= iColourCount; iColour++)
        glutAddMenuEntry(colourTable[iColour - 1].sMenuLine, '0' + iColour);
    for (const SKey& key : windowKeys)
        if (key.sMenuEntry) glutAddMenuEntry(key.sMenuEntry, key.iKey);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

// The connection of the display check, held until GLUT has its own: a server that resets when
// its last client leaves (xvfb-run's) would otherwise be between two lives when GLUT connects.
// It is kept then, to watch the window.
Display* pCheckedDisplay = nullptr;

// freeglut takes no notice of its window destroyed by another client (xdotool windowclose, say):
// the run would go on with no window. The check's connection is told of it, looked at a few
// times a second, and the run ends as when the window manager closes the window.
constexpr unsigned int iWatchMs = 50;
Window watchedWindow = 0;
XErrorHandler pfXErrorBefore = nullptr;

// A request for the window that fails once it is gone must not end the run with Xlib's message
// and status 1 before its DestroyNotify is read: a new title (BadWindow), or the GL driver's
// look at its size or its frame put into it (BadDrawable).
int toleratingGoneWindow(Display* pDisplay, XErrorEvent* pError) {
    const bool bGone = pError->error_code == BadWindow || pError->error_code == BadDrawable;
    if (bGone && pError->resourceid == watchedWindow) return 0;
    return pfXErrorBefore ? pfXErrorBefore(pDisplay, pError) : 0;
}

void watchWindow(int) {
    while (XPending(pCheckedDisplay)) {
        XEvent event;
        XNextEvent(pCheckedDisplay, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == watchedWindow)
            std::exit(0);
    }
    glutTimerFunc(iWatchMs, watchWindow, 0);
}

// Just after glutCreateWindow, whose window is GL's drawable.
void watchForDestruction() {
    watchedWindow = glXGetCurrentDrawable();
    if (!pCheckedDisplay || !watchedWindow) return;
    pfXErrorBefore = XSetErrorHandler(toleratingGoneWindow);
    XSelectInput(pCheckedDisplay, watchedWindow, StructureNotifyMask);
    XSync(pCheckedDisplay, False);
    glutTimerFunc(iWatchMs, watchWindow, 0);
}

// Where the window opens and how large it is.
struct SPlacement {
    int iX, iY, iWidth, iHeight;
};

// The value of GLUT's last -geometry, as glutInit reads its arguments; "" where there is none.
std::string geometryOf(const std::vector<std::string>& vGlutArgs) {
    std::string sGeometry;
    for (size_t i = 1; i + 1 < vGlutArgs.size(); i++) {
        if (vGlutArgs[i] == "-display") i++;
        else if (vGlutArgs[i] == "-geometry") sGeometry = vGlutArgs[++i];
    }
    return sGeometry;
}

// -geometry over the defaults, as GLUT defines it: a size only where it gives both width and
// height, a position only where it gives both offsets, a negative one from the screen's right
// or bottom edge. Set after glutInit, so that glutInit's own reading of it (which makes a size
// of nothing of -geometry +0+0) is overridden by the same values.
SPlacement placementOf(const std::string& sGeometry, SPlacement place, int iScreenWidth,
                       int iScreenHeight) {
    if (sGeometry.empty()) return place;
    int iX = 0, iY = 0;
    unsigned int uWidth = 0, uHeight = 0;
    const int iMask = XParseGeometry(sGeometry.c_str(), &iX, &iY, &uWidth, &uHeight);
    if ((iMask & WidthValue) && (iMask & HeightValue))
        place.iWidth = static_cast<int>(uWidth), place.iHeight = static_cast<int>(uHeight);
    if ((iMask & XValue) && (iMask & YValue)) {
        place.iX = (iMask & XNegative) ? iScreenWidth - place.iWidth + iX : iX;
        place.iY = (iMask & YNegative) ? iScreenHeight - place.iHeight + iY : iY;
    }
    return place;
}

// The picture's size at (100, 50); a shrunk one moved up and left as far as it takes to lie on
// the screen, which it fits.
SPlacement defaultPlacement(int iScreenWidth, int iScreenHeight) {
    SPlacement place{100, 50, shownWidth(), shownHeight()};
    if (!shrunk) return place;
    place.iX = std::clamp(iScreenWidth - place.iWidth, 0, place.iX);
    place.iY = std::clamp(iScreenHeight - place.iHeight, 0, place.iY);
    return place;
}

void placeWindow(const std::vector<std::string>& vGlutArgs) {
    const int iScreenWidth = glutGet(GLUT_SCREEN_WIDTH);
    const int iScreenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    const int iFactor =
        shrinkFactor(myScreen().width(), myScreen().height(), iScreenWidth, iScreenHeight);
    if (iFactor > 1) shrunk.emplace(myScreen().width(), myScreen().height(), iFactor);
    const SPlacement place = placementOf(geometryOf(vGlutArgs),
                                         defaultPlacement(iScreenWidth, iScreenHeight),
                                         iScreenWidth, iScreenHeight);
    glutInitWindowSize(place.iWidth, place.iHeight);
    glutInitWindowPosition(place.iX, place.iY);
}

// The driver's first pixel rectangle costs tens of milliseconds, its shader made: one black
// pixel drawn at opening into the back buffer, which the first frame clears, so that the first
// browsing key's frame does not pay for it. One pixel, not the picture: the driver would keep
// megabytes for a whole one. Not for a shrunk picture: the driver's buffers for its window would
// come while the run's chunks still hold their copies of its counts, and add to the peak.
void warmUpDrawing() {
    if (shrunk) return;
    const unsigned char ucBlack[4] = {0, 0, 0, 0};
    glRasterPos2i(0, 0);
    glDrawPixels(1, 1, GL_RGBA, GL_UNSIGNED_BYTE, ucBlack);
    glFinish();
}

}  // namespace

bool holdDisplay(const std::string& sDisplay, std::string& sError) {
    const char* sName = sDisplay.empty() ? nullptr : sDisplay.c_str();
    pCheckedDisplay = XOpenDisplay(sName);
    if (pCheckedDisplay) return true;
    const std::string sShown = XDisplayName(sName);
    sError = (sShown.empty() ? std::string("no display: DISPLAY is not set")
                             : "cannot open display \"" + shownText(sShown) + "\"") +
             "; --save FILE renders the picture without a window";
    return false;
}

void openWindow(std::vector<std::string> vGlutArgs, const SRun& run, int iColourType, bool bLive,
                int iThreads) {
    shown = SShown{CRunner(run, iThreads), bLive};
    myCalc().iColourType = iColourType;
    std::vector<char*> vArgv;
    for (std::string& sArg : vGlutArgs) vArgv.push_back(sArg.data());
    vArgv.push_back(nullptr);
    int argc = static_cast<int>(vGlutArgs.size());
    glutInit(&argc, vArgv.data());  // exits with GLUT's own message should the display fail now
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    placeWindow(vGlutArgs);  // glutInit has taken its words out of argv, not out of these
    glutCreateWindow(titled(sWindowTitle).c_str());
    pGlutDisplay = glXGetCurrentDisplay();
    watchForDestruction();
    glutDisplayFunc(display);
    glutKeyboardFunc(characterPressed);
    glutSpecialFunc(specialPressed);
    glutMouseFunc(mouseUsed);
    attachMenu();
    preset();
    warmUpDrawing();
}

void runInWindow() {
    beginShown();
    glutMainLoop();
    std::exit(0);  // freeglut's loop ends the process itself; another GLUT's may return
}

void preset() {
    const int iWidth = shownWidth(), iHeight = shownHeight();
    glClearColor(0, 0, 0, 0);
    glViewport(0, 0, iWidth, iHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, iWidth, 0, iHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.375f, 0.375f, 0);  // integer vertices into the interior of their pixels
}

// Sets the view up again at every redraw, so a larger window still shows the picture at its
// size, at its lower left.
void display() {
    glClear(GL_COLOR_BUFFER_BIT);
    preset();
    if (shrunk) shrunk->draw();
    else drawScreen(myScreen());
    glFlush();
    glutSwapBuffers();
}
