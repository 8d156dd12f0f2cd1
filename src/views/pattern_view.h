#pragma once

// The run of a pattern or a flame in the window: computed in slices between the window's events,
// its hits coloured (live, twice a second; else once it is finished), a picture larger than the
// screen shown shrunk to fit it.

#include "core/run.h"
#include "views/view.h"

extern const SViewKind patternView;

// The run to show, in that colouring, live or not, on that many threads; before the window
// opens. Throws std::bad_alloc where its counts cannot be had.
void preparePatternView(const SRun& run, int iColourType, bool bLive, int iThreads);

// Once GLUT knows the screen: the picture shown at 1/k where it is larger than the screen.
void fitPatternViewTo(int iScreenWidth, int iScreenHeight);

std::string patternTitle();  // the window's title at opening

void chooseColouring(int iKey);  // '1' to '0' + iColourCount: the same hits coloured anew
void savePatternShown(int iKey);  // s: the picture as it stands, to a new file
