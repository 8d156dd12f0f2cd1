#pragma once

// The window's ties to the X server besides GLUT's: the display opened before the questions, a
// watch on the window's destruction by another client, whether an event waits, and where the
// window opens (GLUT's -geometry, read as GLUT defines it).

#include <string>
#include <vector>

// Opens the X display that GLUT will open (sDisplay, else DISPLAY's) and holds the connection
// until GLUT has its own, then keeps it to learn of the window destroyed by another client; if
// it cannot, sError says which and what to do instead.
bool holdDisplay(const std::string& sDisplay, std::string& sError);

// Just after glutCreateWindow: the run ends, as when the window manager closes the window, once
// another client destroys it (freeglut takes no notice).
void watchForDestruction();

// An event waits on GLUT's connection: a slice of work should end and let it in.
bool eventWaiting();

struct SPlacement {
    int iX, iY, iWidth, iHeight;
};

// Where a window showing iWidth x iHeight pixels opens: at (100, 50), a shrunk picture's moved up
// and left as far as it takes to lie on the screen, unless GLUT's last -geometry says otherwise
// (a size where it gives both width and height, a position where it gives both offsets).
SPlacement placementOf(const std::vector<std::string>& vGlutArgs, int iWidth, int iHeight,
                       bool bShrunk);
