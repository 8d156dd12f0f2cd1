#pragma once

// The unit tests' access to the private state of CCalculation and CRunner, and a fixture that
// gives every test a computation of its own, with its own picture.

#include "core/calc.h"
#include "core/calc_loop.h"
#include "core/screen.h"
#include "runs/runner.h"
#include "text/text_forms.h"

#include <gtest/gtest.h>

constexpr int iNoPattern = iPatternCount + 1;  // a number that is no pattern

class CCalculationPeer {
public:
    explicit CCalculationPeer(CCalculation& calc) : calc(calc) {}

    // A fully defined state: the point, no scratch values, no hits, that pattern.
    void reset(double dX, double dY, int iPattern) {
        calc.dx = dX;
        calc.dy = dY;
        calc.dVx = calc.dVy = calc.dRadius = calc.dAngleTheta = 0;
        calc.dSx = calc.dSy = 0;
        calc.myScreen.iMaxHit = 0;
        calc.run.iPattern = iPattern;
    }

    double& x() { return calc.dx; }
    double& y() { return calc.dy; }
    double& vx() { return calc.dVx; }
    double& vy() { return calc.dVy; }
    double& radius() { return calc.dRadius; }
    double& theta() { return calc.dAngleTheta; }
    double& sx() { return calc.dSx; }
    double& sy() { return calc.dSy; }
    int& maxHit() { return calc.myScreen.iMaxHit; }
    CRandom& generator() { return calc.generator; }

    void patternStep() { calc.patternStep(calc.run.iPattern); }
    void applyCompound(int iFuncNum) {  // the function that the drawn number iFuncNum picks
        const SPattern& pattern = patternTable[calc.run.iPattern - 1];
        calc.applyFunction(pattern.functions[pickFunction(iFuncNum, pattern.choice.iFunctions)]);
    }
    void postStep() { calc.postStep(calc.plot(), calc.myScreen.iMaxHit); }

private:
    CCalculation& calc;
};

class CRunnerPeer {
public:
    explicit CRunnerPeer(CRunner& runner) : runner(runner) {}

    // The run begun with its later chunks started from that point, not from its own orbit.
    void beginWithGuess(SPoint guess) { runner.beginFrom(&guess); }

    // The run begun from that point rather than from its seed's, the cycle sought from there;
    // with bUndrawn, the generator as just seeded, as if the point had not been drawn.
    void beginAt(double dX, double dY, bool bUndrawn = false) {
        runner.beginCalculate();
        CCalculationPeer peer(runner.myCalc);
        peer.reset(dX, dY, runner.parameters().iPattern);
        if (bUndrawn) peer.generator().seed(runner.parameters().uSeed);
        runner.cycle.begin(runner.myCalc);
    }

private:
    CRunner& runner;
};

// A computation of the default run for every test, its picture cleared at the start.
class FlameTest : public ::testing::Test {
protected:
    void SetUp() override { clearScreen(); }

    void clearScreen() {
        myScreen.clearColours();
        myScreen.clearHits();
    }

    long long totalHits() const {
        long long iSum = 0;
        for (const int iHits : myScreen.iScreenHits) iSum += iHits;
        return iSum;
    }

    CCalculation calc;
    CCalculationPeer peer{calc};
    screen& myScreen = calc.picture();
};
