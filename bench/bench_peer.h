#pragma once

// The benchmarks' access to the computation state: set a point and run the real loop.

#include "calc.h"

class CCalculationPeer {
public:
    static void start(CCalculation& calc, int iPattern, double dX, double dY) {
        calc.run.iPattern = iPattern;
        calc.dx = dX;
        calc.dy = dY;
        calc.dVx = calc.dVy = calc.dRadius = calc.dAngleTheta = calc.dSx = calc.dSy = 0;
        calc.myScreen.iMaxHit = 0;
    }
    static void run(CCalculation& calc, int iIterations) { calc.runIterations(iIterations); }
};
