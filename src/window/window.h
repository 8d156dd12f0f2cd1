#pragma once

// The window: the picture's size through GLUT, the picture drawn into it at every redraw, and keys
// (also on the right button's menu) that colour the hits anew, browse to another run (pattern,
// iterations, zoom, move, fit), save the picture or quit. The run goes on in slices between the
// window's events, so that the window answers throughout and a browsing key stops it at once;
// of browsing keys queued together, only the last starts a run.

#include "core/run.h"

#include <string>
#include <vector>

// Opens the X display that GLUT will open (sDisplay, else DISPLAY's) and holds the connection
// until openWindow has GLUT's own, then keeps it to learn of the window destroyed by another
// client; if it cannot, sError says which and what to do instead.
bool holdDisplay(const std::string& sDisplay, std::string& sError);

// glutInit with those arguments, then the window for the run in that colouring, live or not,
// computed with that many threads, with its view set up and its callbacks. The window is the
// picture's size at (100, 50), or what GLUT's -geometry says; a picture larger than the screen
// is shown at 1/k, the least whole k that makes it fit, and the title says so.
void openWindow(std::vector<std::string> vGlutArgs, const SRun& run, int iColourType, bool bLive,
                int iThreads);

// The run, then the finished picture, in GLUT's event loop, which never returns. Live, the
// window shows the hits so far twice a second; otherwise it stays black until the picture is
// finished, as when the whole run came before the window.
[[noreturn]] void runInWindow();

// Clear colour, viewport and a projection of one unit per pixel, origin at the lower left.
void preset();

// The display callback: the view set up again and the whole picture drawn.
void display();
