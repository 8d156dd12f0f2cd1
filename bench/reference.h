#pragma once

// The leanest exact form of the iteration loop, one pattern at a time: only the work no
// implementation can avoid (the pattern's draw, its maths, the escape and window tests and the
// hit), with the point in locals. It yields the same points and hits as the viewer's loop; the
// benchmark measures the viewer's loop against it.

#include "base/random.h"

class screen;

struct SReferenceState {
    double dX;
    double dY;
    int iMaxHit;
    CRandom generator;
    screen* pPicture;  // 800 x 800, where the hits go
};

// The patterns it is written for: 1 to this. A pattern added to the table after them has no
// reference until one is written here.
constexpr int iReferencePatterns = 20;

// Runs iIterations iterations of iPattern (1 to iReferencePatterns) from state, adding hits to
// its picture.
void runReferenceLoop(int iPattern, int iIterations, SReferenceState& state);
