#pragma once

// The chaos game of one run: one point, one generator, the run and its picture. The point is
// iterated through the run's pattern (or its flame), and each landing in the run's plotting
// window adds a hit to its pixel; the hits can then be turned into colours on a logarithmic
// scale. Nothing is shared between two computations. The ways of running it (in slices, along a
// cycle, on several threads) are built above it from the operations offered here.

#include "base/random.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "core/run.h"
#include "core/screen.h"

#include <cstdint>
#include <vector>

// Where an orbit stands between two iterations: all that the next ones depend on.
struct SOrbitState {
    double  dX;
    double  dY;
    CRandom generator;
};

// One iteration as traced: where the point stands after it (after its restart, if it had one),
// the draws made by then, and the pixel it hit.
struct STracedStep {
    double   dX, dY;
    uint32_t uDraws;      // the generator's position
    int      iPixel;      // the index of its count; -1: none
    bool     bRestarted;  // it ran away, and the point was drawn anew
};

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
    CRandom generator;    // every draw of the run; seeded by seedRandom
    SRun    run;          // what is computed
    screen  myScreen;     // its hits: the run's size, all its own

public:
    int iColourType;  // 1 to iColourCount; any other number colours nothing

    // The run, not yet begun, its point at (0, 0), in black and white; throws
    // std::invalid_argument when the run is one no computation can hold (runProblem).
    explicit CCalculation(const SRun& run = SRun());

    const SRun&   parameters() const { return run; }
    const screen& picture() const { return myScreen; }
    screen&       picture() { return myScreen; }

    void   initCalculate();                                      // the whole run: seed to hits
    void   beginCalculate();                                     // seeded, start point drawn
    void   actualCalculate();                                    // one iteration
    void   calculateHitsToColour(int iSizeWidth, int iSizeHight);  // the picture's colours
    int    convertToScreen(double dValue, int iScreenValue);     // [-1, 1] to [0, size - 1]
    double randomNum(double dMin, double dMax) {                 // one draw scaled to the range
        return drawToRange(generator.next(), dMin, dMax);
    }
    void   seedRandom(unsigned int uSeed);                       // as srand(uSeed) for rand()

    // iCount more iterations from where the point is: the plain loop. With vMirrorHits (the
    // picture's size), each hit's mirror image (-x, y) is counted there too.
    void runIterations(int iCount);
    void runIterations(int iCount, std::vector<int>& vMirrorHits);

    // The same, each iteration traced into pTrace[0] to pTrace[iCount - 1].
    void traceIterations(int iCount, STracedStep* pTrace);

    // The plain loop with a look after every iteration, for a way of running that watches the
    // orbit as it goes: look(dX, dY, bRestarted) is given the point as it then stands, and the
    // loop ends after the first iteration for which it returns true, or after iCount. Returns
    // the iterations done. Defined in core/calc_loop.h, which a watcher includes.
    template <class FLook>
    int runWatched(int iCount, FLook& look);

    // Where the orbit stands, and setting it elsewhere: the point (as one that passed the escape
    // test) and the generator.
    SOrbitState orbitState() const { return {dx, dy, generator}; }
    void        setOrbitState(const SOrbitState& state);

    // The index of the count a point at (dX, dY) adds to, as the post-step finds it; -1 outside
    // the plotting window.
    int hitIndex(double dX, double dY) const;

private:
    // Where a coordinate lands: pixel (value − min) · scale, truncated and clamped; a copy of it
    // in the loop, where nothing can write to it, stays in registers.
    struct SAxis {
        double dMin, dMax, dScale;
        int iPixels;
    };
    struct SPlot {
        SAxis x, y;
        int* pHits;
    };
    static SPlot plotOf(const SRun& run, int* pHits);
    SPlot plot();
    static int pixelOf(double dValue, const SAxis& axis);
    static int hitIndex(const SPlot& plot, double dX, double dY);  // -1: none

    // One iteration is a step, which moves the point, then the post-step, which restarts a
    // runaway point or counts a hit. The step is the pattern's, or the flame's; there is a loop
    // of each kind, with the step a constant in it (core/calc_loop.h).
    template <int iStep, bool bMirrored, class FLook>
    int loop(int iCount, FLook& look, int* pMirrorHits);
    template <int iStep> void stepOf();
    template <int iPat> void stepOfPattern();  // iPat 0: a number that is no pattern
    void flameStep();  // a function of the flame, chosen by one draw, as pattern 3 chooses
    void patternStep(int iPat);
    void step();       // the run's: its flame's, else its pattern's
    bool escaped() const;  // beyond the bound on either axis, or not a number
    void postStep(const SPlot& plot, int& iMaxHit);
    void restartPoint();

    // Pieces of a function.
    void   applyFunction(SFunction function);      // the map, then the nonlinear function
    void   applyMap(int iMap);                     // dVx, dVy; identity copies: -0 stays -0
    void   applyAffine(const SAffine& map);        // dVx, dVy of the map
    void   applyNonlinear(ENonlinear eNonlinear);  // the polar values it needs, then the point
    void   storeRadius();                          // dRadius
    void   storePolar();                           // dRadius and dAngleTheta
    SPoint newPoint(ENonlinear eNonlinear) const;  // from the point and the scratch fields
    void   storePoint(SPoint pNew);                // the new point into dx, dy
};
