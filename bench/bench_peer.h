#pragma once

// The benchmarks' access to the computation state: set a point, run the real loop, and see
// whether a run follows a cycle.

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
    static bool onCycle(const CCalculation& calc) { return !calc.vCycle.empty(); }
};
