#pragma once

// The window's keys, mouse and right-button menu: colourings and browsing for the run of a
// pattern or a flame; browsing the file, framing, random genomes, mutations and stepping back
// for a genome. A key that makes no sense for what the window shows does nothing.

// The callbacks registered with GLUT and the menu attached, for the kind of view the window
// shows.
void attachKeys();

void quit(int iKey);  // as closing the window does
