// The viewer's entry: the dialogue, the GLUT window, the whole computation, then the event loop,
// which only redraws the finished image.

#include "calc.h"
#include "dialogue.h"
#include "progress.h"
#include "screen.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <iostream>

// Clear colour, viewport and a projection of one unit per pixel, origin at the lower left.
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

int main(int argc, char** argv) {
    askChoices(std::cin, std::cout, myCalc);

    glutInit(&argc, argv);  // exits with GLUT's own message when there is no display
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowSize(iScreenWidth, iScreenHight);
    glutInitWindowPosition(100, 50);
    glutCreateWindow("Vemo's Fractal Flame Test");
    glutDisplayFunc(display);
    preset();

    watchProgressOnTerminal();
    myCalc.initCalculate();  // the whole run, before the window is first drawn
    glutMainLoop();
    return 0;
}
