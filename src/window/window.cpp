#include "window/window.h"

#include "views/genome_view.h"
#include "views/pattern_view.h"
#include "views/view.h"
#include "window/keys.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cstdlib>
#include <utility>

namespace {

// Black and no frame: the first frame of a run that is not live is its finished picture.
void displayNothingYet() {
    glDrawBuffer(GL_FRONT);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    glDrawBuffer(GL_BACK);
}

// The driver's first pixel rectangle costs tens of milliseconds, its shader made: one black
// pixel drawn at opening into the back buffer, which the first frame clears, so that the first
// browsing key's frame does not pay for it. One pixel, not the picture: the driver would keep
// megabytes for a whole one. Not for a shrunk picture: the driver's buffers for its window would
// come while the run's chunks still hold their copies of its counts, and add to the peak.
void warmUpDrawing(bool bShrunk) {
    if (bShrunk) return;
    const unsigned char ucBlack[4] = {0, 0, 0, 0};
    glRasterPos2i(0, 0);
    glDrawPixels(1, 1, GL_RGBA, GL_UNSIGNED_BYTE, ucBlack);
    glFinish();
}

// glutInit, the window placed and made, its callbacks; pfFit sizes what is shown to the screen.
void makeWindow(std::vector<std::string> vGlutArgs, void (*pfFit)(int, int),
                std::string (*pfTitle)(), int iPictureWidth) {
    std::vector<char*> vArgv;
    for (std::string& sArg : vGlutArgs) vArgv.push_back(sArg.data());
    vArgv.push_back(nullptr);
    int argc = static_cast<int>(vGlutArgs.size());
    glutInit(&argc, vArgv.data());  // exits with GLUT's own message should the display fail now
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    pfFit(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    const SViewKind& view = shownView();
    const bool bShrunk = view.pfWidth() < iPictureWidth;
    // glutInit has taken its words out of argv, not out of these
    const SPlacement place = placementOf(vGlutArgs, view.pfWidth(), view.pfHeight(), bShrunk);
    glutInitWindowSize(place.iWidth, place.iHeight);
    glutInitWindowPosition(place.iX, place.iY);
    glutCreateWindow(pfTitle().c_str());
    watchForDestruction();
    glutDisplayFunc(display);
    attachKeys();
    preset();
    warmUpDrawing(bShrunk);
}

}  // namespace

void openWindow(std::vector<std::string> vGlutArgs, const SRun& run, int iColourType, bool bLive,
                int iThreads) {
    preparePatternView(run, iColourType, bLive, iThreads);
    showKind(patternView);
    makeWindow(std::move(vGlutArgs), fitPatternViewTo, patternTitle, run.iWidth);
}

bool openGenomeWindow(std::vector<std::string> vGlutArgs, const SGenomeChoice& choice,
                      const SOptions& options, int iThreads, std::string& sError,
                      std::optional<CFrameList> frames) {
    CGenomeView& view = theGenomeView();
    if (!(frames ? view.prepareFrames(std::move(*frames), choice, options, iThreads, sError)
                 : view.prepare(choice, options, iThreads, sError)))
        return false;
    showKind(genomeView);
    makeWindow(
        std::move(vGlutArgs),
        [](int iScreenWidth, int iScreenHeight) {
            theGenomeView().fitTo(iScreenWidth, iScreenHeight);
        },
        [] { return theGenomeView().title(); }, choice.genome.iWidth);
    return true;
}

void runInWindow() {
    shownView().pfBegin();
    wakeIdle();
    glutMainLoop();
    std::exit(0);  // freeglut's loop ends the process itself; another GLUT's may return
}

void preset() {
    const int iWidth = shownView().pfWidth(), iHeight = shownView().pfHeight();
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
    if (shownView().pfNothingYet()) return displayNothingYet();
    glClear(GL_COLOR_BUFFER_BIT);
    preset();
    shownView().pfDraw();
    glFlush();
    glutSwapBuffers();
}
