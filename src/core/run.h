#pragma once

// What a run is of: everything its picture depends on but the colouring. One seed, one set of
// these, one picture. Plain data; their text forms are in text/text_forms.h.

#include "core/nonlinear.h"
#include "core/patterns.h"

#include <string>

// The plotting window: the part of the plane that the picture shows, bounds included.
struct SView {
    double dXMin = -1;
    double dYMin = -1;
    double dXMax = 1;
    double dYMax = 1;
};

constexpr int iScreenWidth = 800;  // the picture's size, and the window's, unless a run says else
constexpr int iScreenHight = 800;

constexpr int iSmallestSide = 16;     // of a picture asked for by name, in pixels
constexpr int iLargestSide = 16384;

struct SSize {
    int iWidth;
    int iHeight;
};

// A flame: two to four functions, each one of the nonlinear functions a flame can be made of
// after an affine map of its own, one of which is chosen at every iteration as pattern 3 chooses
// among its three. Written by hand as text, or drawn at random from a seed.
constexpr int iFewestFlameFunctions = 2;
constexpr int iMostFlameFunctions = 4;

struct SFlameFunction {
    ENonlinear eNonlinear;  // one for which inFlames holds
    SAffine    map;         // vx = a·x + b·y + c, vy = d·x + e·y + f
};

struct SFlame {
    int            iFunctions = 0;  // 0: no flame, the run draws its pattern
    SFlameFunction functions[iMostFlameFunctions] = {};
    bool           bRandom = false;  // drawn from uSeed
    unsigned int   uSeed = 0;
};

struct SRun {
    int          iIterations = 1000000;  // zero or less runs none
    int          iPattern = 1;           // 1 to iPatternCount; any other number leaves the point
    SFlame       flame;                  // drawn instead of the pattern where it has functions
    unsigned int uSeed = 0;              // of every draw of the run
    int          iWidth = iScreenWidth;  // pixels: columns and rows
    int          iHeight = iScreenHight;
    SView        view;
};

inline bool drawsFlame(const SRun& run) { return run.flame.iFunctions > 0; }

// The run without a picture of its size: to follow its orbit from some point, hitting nothing
// that matters.
inline SRun orbitOnly(SRun run) {
    run.iWidth = run.iHeight = 1;
    run.view = SView();
    return run;
}

// Why a computation cannot hold the run (a size below 1 x 1, a view with a bound that is not a
// number, or that is empty), or "" when it can.
std::string runProblem(const SRun& run);
