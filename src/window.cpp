#include "window.h"

#include "screen.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace {

SRunParameters shownRun;  // what the picture in the window is of

void savePictureShown() {
    std::string sName, sError;
    if (savePictureAsNew(shownRun, sName, sError)) std::cout << "saved " << sName << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
}

void quit() { std::exit(0); }  // as closing the window does

struct SKey {
    unsigned char cKey;
    void (*pfAction)();
};

constexpr unsigned char cEscape = 27;
constexpr SKey windowKeys[] = {{'s', savePictureShown}, {'q', quit}, {cEscape, quit}};

void keyPressed(unsigned char cKey, int, int) {
    for (const SKey& key : windowKeys)
        if (key.cKey == cKey) key.pfAction();
}

// The display GLUT would open: the argument after -display, else the environment's.
const char* displayName(const std::vector<std::string>& vGlutArgs) {
    for (size_t i = 1; i + 1 < vGlutArgs.size(); i++)
        if (vGlutArgs[i] == "-display") return vGlutArgs[i + 1].c_str();
    return nullptr;
}

}  // namespace

bool displayOpens(const std::vector<std::string>& vGlutArgs, std::string& sError) {
    const char* sName = displayName(vGlutArgs);
    if (Display* pDisplay = XOpenDisplay(sName)) {
        XCloseDisplay(pDisplay);
        return true;
    }
    const std::string sShown = XDisplayName(sName);
    sError = (sShown.empty() ? std::string("no display: DISPLAY is not set")
                             : "cannot open display \"" + sShown + "\"") +
             "; --save FILE renders without a window, or run under xvfb-run";
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
    glutDisplayFunc(display);
    glutKeyboardFunc(keyPressed);
    preset();
}

void showWindow(const SRunParameters& run) {
    shownRun = run;
    if (isatty(STDERR_FILENO))
        std::cerr << "flames: the picture is in the window; s saves it, q quits" << std::endl;
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
