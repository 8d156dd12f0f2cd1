#pragma once

// A flame: two to four functions, each one of the patterns' fifteen nonlinear functions after an
// affine map of its own, one of which is chosen at every iteration as pattern 3 chooses among its
// three. Written by hand as text, or drawn at random from a seed.

#include "patterns.h"

#include <string>

constexpr int iFewestFlameFunctions = 2;
constexpr int iMostFlameFunctions = 4;

struct SFlameFunction {
    ENonlinear eNonlinear;  // eLinear to eCosine
    SAffine    map;         // vx = a·x + b·y + c, vy = d·x + e·y + f
};

struct SFlame {
    int            iFunctions = 0;  // 0: no flame, the run draws its pattern
    SFlameFunction functions[iMostFlameFunctions] = {};
    bool           bRandom = false;  // drawn from uSeed
    unsigned int   uSeed = 0;
};

// The flame of "NAME a b c d e f; NAME a b c d e f": two to four functions separated by ";",
// each a name of the fifteen and six finite numbers. False with sError naming the offending part.
bool readFlame(const std::string& sText, SFlame& flame, std::string& sError);

// Its text, each number in the shortest form that reads back to the same double.
std::string flameText(const SFlame& flame);

// "swirl & disc": as a sentence names it.
std::string flameNames(const SFlame& flame);

// The random flame of uSeed, drawn by the program's generator: the number of functions, each
// function's name and its six coefficients (uniform in [-1, 1]). A candidate is kept only if a
// trial run of iTrialIterations, framed by fit, lights at least 2 % of an 800 x 800 picture and
// restarts in fewer than 1 % of its iterations; otherwise the next candidate of the same sequence
// is tried, so that one seed always gives one flame.
constexpr int iTrialIterations = 100000;
SFlame randomFlame(unsigned int uSeed);
