#pragma once

// The window: 800 x 800 through GLUT, the image buffer drawn into it at every redraw, and keys
// that save the picture shown or end the program.

#include "png_file.h"

#include <string>
#include <vector>

// Whether the X display that GLUT would open (the one of a -display argument, else DISPLAY)
// can be opened; if not, sError says which and what to do instead.
bool displayOpens(const std::vector<std::string>& vGlutArgs, std::string& sError);

// glutInit with those arguments, then the window with its view set up and its callbacks.
void openWindow(std::vector<std::string> vGlutArgs);

// GLUT's event loop, which redraws the picture when asked and never returns; the run's
// parameters go into the pictures that the s key saves.
[[noreturn]] void showWindow(const SRunParameters& run);

// Clear colour, viewport and a projection of one unit per pixel, origin at the lower left.
void preset();

// The display callback: the view set up again and the whole image buffer drawn.
void display();
