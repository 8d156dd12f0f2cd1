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

namespace {

using Clock = std::chrono::steady_clock;

// Iterations run between two looks at the window's events: short enough that closing it or a
// key is answered at once, long enough that looking costs nothing.
constexpr auto sliceTime = std::chrono::milliseconds(20);
constexpr int iSliceBlock = 1 << 16;
constexpr unsigned int iRefreshMs = 500;  // live: the picture of the hits so far, twice a second

unsigned int uRunSeed = 0;  // the run's seed: the rest of what the picture is of is myCalc's
bool bLiveRun = false;

bool running() { return myCalc.iterationsDone() < myCalc.iIterations; }

// The hits as they stand in the colouring chosen. Hits only grow, so every pixel coloured before
// is coloured again, and the last time gives the very picture of a run coloured once.
void colourHitsSoFar() { myCalc.calculateHitsToColour(iScreenWidth, iScreenHight); }

// From a clean slate, for another colouring: a pixel keeps no colour of the one before.
void recolour() {
    myScreen.clearColours();
    colourHitsSoFar();
}

bool pictureShown() { return bLiveRun || !running(); }

void chooseColouring(unsigned char cKey) {
    myCalc.iColourType = cKey - '0';
    if (!pictureShown()) return;  // the finished picture takes it
    recolour();
    glutPostRedisplay();
}

// During the run, the picture as it stands, coloured now.
void savePictureShown(unsigned char) {
    if (running()) {
        colourHitsSoFar();
        if (bLiveRun) glutPostRedisplay();
    }
    std::string sName, sError;
    const bool bSaved = savePictureAsNew(parametersOf(myCalc, uRunSeed), sName, sError);
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
    while (bMore && Clock::now() < end) bMore = myCalc.continueCalculate(iSliceBlock);
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

void openWindow(std::vector<std::string> vGlutArgs) {
    std::vector<char*> vArgv;
    for (std::string& sArg : vGlutArgs) vArgv.push_back(sArg.data());
    vArgv.push_back(nullptr);
    int argc = static_cast<int>(vGlutArgs.size());
    glutInit(&argc, vArgv.data());  // exits with GLUT's own message should the display fail now
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowSize(iScreenWidth, iScreenHight);
    glutInitWindowPosition(100, 50);
    glutCreateWindow("Vemo's Fractal Flame Test");
    if (pCheckedDisplay) XCloseDisplay(pCheckedDisplay);  // GLUT holds its own now
    pCheckedDisplay = nullptr;
    glutDisplayFunc(display);
    glutKeyboardFunc(keyPressed);
    attachMenu();
    preset();
}

void runInWindow(unsigned int uSeed, bool bLive) {
    bLiveRun = bLive;
    uRunSeed = uSeed;
    myCalc.beginCalculate(uSeed);
    if (!bLive) glutDisplayFunc(displayNothingYet);
    if (bLive) glutTimerFunc(iRefreshMs, refreshLive, 0);
    glutIdleFunc(runSlice);
    glutMainLoop();
    std::exit(0);  // freeglut's loop ends the process itself; another GLUT's may return
}

void preset() {
    glClearColor(0, 0, 0, 0);
    glViewport(0, 0, iScreenWidth, iScreenHight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, iScreenWidth, 0, iScreenHight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.375f, 0.375f, 0);  // integer vertices into the interior of their pixels
}

// Sets the view up again at every redraw, so a larger window still shows the picture
// 800 x 800 at its lower left.
void display() {
    glClear(GL_COLOR_BUFFER_BIT);
    preset();
    myScreen.drawScreen();
    glFlush();
    glutSwapBuffers();
}
