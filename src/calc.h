#pragma once

// The chaos game: one point, iterated through the chosen pattern, each landing in the plotting
// window [-1, 1] x [-1, 1] adding a hit to its pixel of myScreen; afterwards the hits are turned
// into colours on a logarithmic scale.

#include "colouring.h"
#include "patterns.h"
#include "random.h"

class CCalculation {
    friend class CCalculationPeer;  // the unit tests' view of the private state

private:
    double  dx;           // x of the current point
    double  dy;           // y of the current point
    double  dVx;          // scratch: x of the affine image
    double  dVy;          // scratch: y of the affine image
    double  dRadius;      // scratch: sqrt(vx² + vy²)
    double  dAngleTheta;  // scratch: atan(vy / vx), in [-pi/2, pi/2]
    double  dSx;          // x of the last point that passed the escape test
    double  dSy;          // y of the last point that passed the escape test
    int     iMaxHit;      // largest hit count of any pixel so far
    int     iDone;        // iterations of the run done so far
    CRandom generator;    // every draw of the run; seeded by seedRandom

public:
    int iIterations;  // iterations to run; zero or less runs none
    int iPattern;     // 1 to iPatternCount; any other number leaves the point where it is
    int iColourType;  // 1 to iColourCount; any other number colours nothing

    CCalculation();  // 1000000 iterations of pattern 1 in black and white, point at (0, 0)

    void   initCalculate();                  // the whole run, seeded from the clock's second
    void   initCalculate(unsigned int uSeed);  // the whole run from that seed: seed to colours
    void   actualCalculate();                                    // one iteration
    void   calculateHitsToColour(int iSizeWidth, int iSizeHight);
    int    convertToScreen(double dValue, int iScreenValue);     // [-1, 1] to [0, size - 1]
    double randomNum(double dMin, double dMax);                  // one draw scaled to the range
    void   seedRandom(unsigned int uSeed);                       // as srand(uSeed) for rand()

    // The run in parts, for a caller that has other things to do between them (a window that
    // answers its events): the same draws and hits as initCalculate, which is made of them.
    void beginCalculate(unsigned int uSeed);  // seed, start point, "calculating......."
    bool continueCalculate(int iAtMost);      // at most that many more; false once all are done
    int  iterationsDone() const { return iDone; }

private:
    // One iteration is the pattern step, which moves the point, then the post-step, which
    // restarts a runaway point or counts a hit.
    void runIterations();            // iIterations of them from the point, with progress reports
    void runIterations(int iCount);  // iCount more from where the point is, no report
    template <int iPat> __attribute__((noinline, flatten)) void runPattern(int iCount);
    void patternStep(int iPat);
    template <int iPat> void stepOfPattern();  // iPat 0: a number that is no pattern
    void applyFunction(SFunction function);
    void postStep();
    void restartPoint();

    // Pieces of a function.
    void   applyMap(int iMap);                     // dVx, dVy; identity copies: -0 stays -0
    void   storeRadius();                          // dRadius
    void   storePolar();                           // dRadius and dAngleTheta
    SPoint newPoint(ENonlinear eNonlinear) const;  // from the point and the scratch fields
    void   storePoint(SPoint pNew);                // the new point into dx, dy
};

extern CCalculation myCalc;  // the one computation state

// Called after every block of iterations of a run with the iterations done so far and the total,
// so that a long run can show its progress; null, the default, reports nothing.
extern void (*pfCalculationProgress)(int iDone, int iTotal);
