#pragma once

// The unit tests' access to the private state of CCalculation, and a fixture that gives every
// test a clean image buffer.

#include "calc.h"
#include "screen.h"

#include <gtest/gtest.h>

class CCalculationPeer {
public:
    explicit CCalculationPeer(CCalculation& calc) : calc(calc) {}

    // A fully defined state: the constructor itself leaves the scratch fields unset.
    void reset(double dX, double dY, int iPattern) {
        calc.dx = dX;
        calc.dy = dY;
        calc.dVx = calc.dVy = calc.dRadius = calc.dAngleTheta = 0;
        calc.dSx = calc.dSy = 0;
        calc.iMaxHit = 0;
        calc.iPattern = iPattern;
    }

    double& x() { return calc.dx; }
    double& y() { return calc.dy; }
    double& vx() { return calc.dVx; }
    double& vy() { return calc.dVy; }
    double& radius() { return calc.dRadius; }
    double& theta() { return calc.dAngleTheta; }
    double& sx() { return calc.dSx; }
    double& sy() { return calc.dSy; }
    int& maxHit() { return calc.iMaxHit; }
    CRandom& generator() { return calc.generator; }

    void runIterations() { calc.runIterations(); }
    void patternStep() { calc.patternStep(calc.iPattern); }
    void applyCompound(int iFuncNum) {  // the function that the drawn number iFuncNum picks
        const SPattern& pattern = patternTable[calc.iPattern - 1];
        calc.applyFunction(pattern.functions[pickFunction(iFuncNum, pattern.choice.iFunctions)]);
    }
    void postStep() { calc.postStep(); }

private:
    CCalculation& calc;
};

// Every test starts from a zeroed buffer: the tests share the one global myScreen.
class FlameTest : public ::testing::Test {
protected:
    void SetUp() override { clearScreen(); }

    static void clearScreen() {
        myScreen.clearColours();
        myScreen.clearHits();
    }

    static long long totalHits() {
        long long iSum = 0;
        for (int i = 0; i < iBufferSide; i++)
            for (int j = 0; j < iBufferSide; j++) iSum += myScreen.iScreenHits[i][j];
        return iSum;
    }

    CCalculation calc;
    CCalculationPeer peer{calc};
};
