#pragma once

// The chaos game: one point, iterated through the chosen pattern, each landing in the plotting
// window [-1, 1] x [-1, 1] adding a hit to its pixel of myScreen; afterwards the hits are turned
// into colours on a logarithmic scale.

#include "colouring.h"
#include "random.h"

constexpr int iPatternCount = 20;  // patterns 1 to 20; 1 to 5 are compound

struct SPoint {  // a point of the plane, as a nonlinear function yields it
    double dX;
    double dY;
};

class CCalculation {
    friend class CCalculationPeer;  // the unit tests' view of the private state

private:
    double dx;           // x of the current point
    double dy;           // y of the current point
    double dVx;          // scratch: x of the affine image
    double dVy;          // scratch: y of the affine image
    double dRadius;      // scratch: sqrt(vx² + vy²)
    double dAngleTheta;  // scratch: atan(vy / vx), in [-pi/2, pi/2]
    double dSx;          // x of the last point that passed the escape test
    double dSy;          // y of the last point that passed the escape test
    int    iMaxHit;      // largest hit count of any pixel so far
    CRandom generator;   // every draw of the run; seeded by seedRandom

public:
    int iIterations;  // iterations to run; zero or less runs none
    int iPattern;     // 1 to iPatternCount; any other number leaves the point where it is
    int iColourType;  // 1 to iColourCount; any other number colours nothing

    CCalculation();  // 1000000 iterations of pattern 1 in black and white, point at (0, 0)

    void   initCalculate();                                      // the whole run: seed to colours
    void   actualCalculate();                                    // one iteration
    void   calculateHitsToColour(int iSizeWidth, int iSizeHight);
    int    convertToScreen(double dValue, int iScreenValue);     // [-1, 1] to [0, size - 1]
    double randomNum(double dMin, double dMax);                  // one draw scaled to the range
    void   seedRandom(unsigned int uSeed);                       // as srand(uSeed) for rand()

private:
    // One iteration is the pattern step, which moves the point, then the post-step, which
    // restarts a runaway point or counts a hit. A run inlines both into one loop per pattern,
    // so that no iteration dispatches on the pattern number.
    void runIterations();
    template <int iPat> void runPattern(int iCount);  // iPat 0: a number that is no pattern
    static void (CCalculation::*const patternLoops[iPatternCount + 1])(int iCount);
    void patternStep(int iPat);
    void applyCompound(int iPat, int iFuncNum);  // the function iFuncNum of compound pattern iPat
    void postStep();
    void restartPoint();

    // Pieces of the pattern step.
    void applyAffine(int iMap);       // dVx, dVy from a row of the affine table
    void applyIdentity();             // dVx = dx, dVy = dy: a copy, so that -0 stays -0
    void storeRadius();               // dRadius
    void storePolar();                // dRadius and dAngleTheta
    using PolarFunction = SPoint (*)(double dR, double dTheta);
    template <PolarFunction pFunction> void applyPolar();  // storePolar, then the new point
    void storePoint(SPoint pNew);     // the new point into dx, dy

    static int pickFunction(int iFuncNum, int iFunctions);  // function number to function
};

extern CCalculation myCalc;  // the one computation state

// Called after every block of iterations of a run with the iterations done so far and the total,
// so that a long run can show its progress; null, the default, reports nothing.
extern void (*pfCalculationProgress)(int iDone, int iTotal);
