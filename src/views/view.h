#pragma once

// What the window shows, one kind or the other for the whole of its life: the run of a pattern
// or a flame (pattern_view.h), or the render of a genome (genome_view.h). The window reaches
// either through one table of what it does; the views reach the window through the functions
// below, defined beside them (view.cpp), not in the window itself.

#include "app/browsing.h"

#include <string>

struct SViewKind {
    int  (*pfWidth)();   // the window's pixels the picture takes
    int  (*pfHeight)();
    void (*pfBegin)();   // the first run begins, in the window's event loop
    bool (*pfWork)();    // a slice of the run between events; false once nothing is left to do
    void (*pfDraw)();    // the picture as it stands, at the window's lower left
    bool (*pfNothingYet)();  // no frame yet: a run not shown growing shows its finished picture
    SShownState (*pfState)();                  // what is shown, for a browsing key to go on from
    void (*pfShow)(const SShownState& next);   // what a browsing key made, shown growing at once
    int  (*pfShownCount)();                    // of runs begun so far
    void (*pfWheel)(int iX, int iY, double dFactor);  // zoom about the pixel under the pointer
};

// The kind the window shows, as GLUT's callbacks find it; set once, before the window opens.
const SViewKind& shownView();
void showKind(const SViewKind& kind);

// Asks the window to show what next makes of what it shows (browsing.h).
void browse(FNext next, int iKey, bool bSlow);

// The window's idle callback armed again, for work a key has given it.
void wakeIdle();

// What the window says it shows: the program's title, and a scale where the picture is shrunk.
std::string windowTitle(const std::string& sCaption, int iShrink);
