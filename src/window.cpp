#include "window.h"

#include "calc.h"
#include "console.h"
#include "colouring.h"
#include "png_file.h"
#include "progress.h"
#include "screen.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// Iterations run between two looks at the window's events: short enough that closing it or a
// key is answered at once, long enough that looking costs nothing.
constexpr auto sliceTime = std::chrono::milliseconds(20);
constexpr int iSliceBlock = 1 << 16;
constexpr unsigned int iRefreshMs = 500;  // live: the picture of the hits so far, twice a second

// What the window shows: one run's computation, which holds its hits and their colouring, and
// whether it is shown growing. Replacing the run is one assignment.
struct SShown {
    CCalculation myCalc;
    bool         bLive;
};

std::optional<SShown> shown;

CCalculation& myCalc() { return shown->myCalc; }
screen& myScreen() { return shown->myCalc.picture(); }

bool running() { return myCalc().iterationsDone() < myCalc().parameters().iIterations; }

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

bool pictureShown() { return shown->bLive || !running(); }

void chooseColouring(unsigned char cKey) {
    myCalc().iColourType = cKey - '0';
    if (!pictureShown()) return;  // the finished picture takes it
    recolour();
    glutPostRedisplay();
}

// During the run, the picture as it stands; a live window shows it too.
void savePictureShown(unsigned char) {
    if (running() && shown->bLive) {
        colourHitsSoFar();
        glutPostRedisplay();
    }
    std::string sName, sError;
    const bool bSaved = savePictureAsNew(myCalc(), sName, sError);
    clearProgressLine();  // a terminal shows both outputs on one line
    if (bSaved) std::cout << "saved " << sName << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
}

void quit(unsigned char) { std::exit(0); }  // as closing the window does

struct SKey {
    unsigned char cKey;
    const char*   sMenuEntry;  // null: not on the menu
    void (*pfAction)(unsigned char cKey);
};

constexpr unsigned char cEscape = 27;
const SKey windowKeys[] = {
    {'1', colourMenu[0], chooseColouring}, {'2', colourMenu[1], chooseColouring},
    {'3', colourMenu[2], chooseColouring}, {'4', colourMenu[3], chooseColouring},
    {'5', colourMenu[4], chooseColouring}, {'s', "Save picture", savePictureShown},
    {'q', "Quit", quit},                   {cEscape, nullptr, quit},
};

void keyPressed(unsigned char cKey, int, int) {
    for (const SKey& key : windowKeys)
        if (key.cKey == cKey) key.pfAction(cKey);
}

void menuChosen(int iKey) { keyPressed(static_cast<unsigned char>(iKey), 0, 0); }

void attachMenu() {
    glutCreateMenu(menuChosen);
    for (const SKey& key : windowKeys)
        if (key.sMenuEntry) glutAddMenuEntry(key.sMenuEntry, key.cKey);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

// Black and no frame: the first frame of a run that is not live is its finished picture.
void displayNothingYet() {
    glDrawBuffer(GL_FRONT);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    glDrawBuffer(GL_BACK);
}

void finishRun() {
    glutIdleFunc(nullptr);
    colourHitsSoFar();
    glutDisplayFunc(display);
    glutPostRedisplay();
    if (isatty(STDERR_FILENO))
        std::cerr << "flames: the picture is shown; 1 to 5 colour it anew, s saves it, q quits"
                  << " (also on the right button's menu)" << std::endl;
}

void runSlice() {
    const Clock::time_point end = Clock::now() + sliceTime;
    bool bMore = true;
    while (bMore && Clock::now() < end) {
        bMore = myCalc().continueCalculate(iSliceBlock);
        reportProgress(myCalc().iterationsDone(), myCalc().parameters().iIterations);
    }
    if (!bMore) finishRun();
}

void refreshLive(int) {
    if (!running()) return;
    colourHitsSoFar();
    glutPostRedisplay();
    glutTimerFunc(iRefreshMs, refreshLive, 0);
}

// The connection of the display check, held until GLUT has its own: a server that resets when
// its last client leaves (xvfb-run's) would otherwise be between two lives when GLUT connects.
Display* pCheckedDisplay = nullptr;

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

void openWindow(std::vector<std::string> vGlutArgs, const SRun& run, int iColourType, bool bLive) {
    shown = SShown{CCalculation(run), bLive};
    myCalc().iColourType = iColourType;
    std::vector<char*> vArgv;
    for (std::string& sArg : vGlutArgs) vArgv.push_back(sArg.data());
    vArgv.push_back(nullptr);
    int argc = static_cast<int>(vGlutArgs.size());
    glutInit(&argc, vArgv.data());  // exits with GLUT's own message should the display fail now
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowSize(run.iWidth, run.iHeight);
    glutInitWindowPosition(100, 50);
    glutCreateWindow("Vemo's Fractal Flame Test");
    if (pCheckedDisplay) XCloseDisplay(pCheckedDisplay);  // GLUT holds its own now
    pCheckedDisplay = nullptr;
    glutDisplayFunc(display);
    glutKeyboardFunc(keyPressed);
    attachMenu();
    preset();
}

void runInWindow() {
    myCalc().beginCalculate();
    if (!shown->bLive) glutDisplayFunc(displayNothingYet);
    if (shown->bLive) glutTimerFunc(iRefreshMs, refreshLive, 0);
    glutIdleFunc(runSlice);
    glutMainLoop();
    std::exit(0);  // freeglut's loop ends the process itself; another GLUT's may return
}

void preset() {
    const int iWidth = myScreen().width(), iHeight = myScreen().height();
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
    myScreen().drawScreen();
    glFlush();
    glutSwapBuffers();
}
