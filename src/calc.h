#pragma once

// The chaos game of one run: one point, iterated through the run's pattern, each landing in the
// run's plotting window adding a hit to its pixel of the run's own picture; the hits can then be
// turned into colours on a logarithmic scale. Nothing is shared between two computations.

#include "colouring.h"
#include "patterns.h"
#include "random.h"
#include "run.h"
#include "screen.h"

#include <cstdint>
#include <memory>
#include <vector>

class CChunk;

class CCalculation {
    friend class CCalculationPeer;  // the unit tests' view of the private state
    friend class CChunk;            // a later part of the run, computed beside it

private:
    double  dx;           // x of the current point
    double  dy;           // y of the current point
    double  dVx;          // scratch: x of the affine image
    double  dVy;          // scratch: y of the affine image
    double  dRadius;      // scratch: sqrt(vx² + vy²)
    double  dAngleTheta;  // scratch: atan(vy / vx), in [-pi/2, pi/2]
    double  dSx;          // x of the last point that passed the escape test
    double  dSy;          // y of the last point that passed the escape test
    int     iDone;        // iterations of the run done so far
    CRandom generator;    // every draw of the run; seeded by seedRandom
    SRun    run;          // what is computed
    screen  myScreen;     // its hits: the run's size, all its own
    int     iThreads;     // the threads it may use
    int     iOwnEnd;      // where the part of the run computed here ends; the rest is in vChunks
    std::vector<std::unique_ptr<CChunk>> vChunks;  // the later parts, one a thread
    std::vector<int> vMirrorHits;  // a chunk's hits of its orbit's mirror image (-x, y)

    // A pattern of one function draws nothing in a step, so the point follows a fixed map, and
    // most of those patterns soon settle on an exact cycle; from there on the run's hits follow
    // in closed form. The cycle is sought (Brent's way) in the run's first iterations only, and
    // only by the loop of continueCalculate: the plain loop stays as lean as it was.
    struct SCycleSearch {
        uint64_t uMarkX, uMarkY;  // the bits of the point marked: the cycle closes on it
        int iPower;               // steps from one mark to the next: 1, 2, 4...
        int iSinceMark;
        int iStepsLeft;           // of the run's stretch in which a cycle is sought
    };
    struct SCyclePoint {
        double dX, dY;
        int iPixel;  // the index of its count, or -1: outside the plotting window
    };
    SCycleSearch search;
    std::vector<SCyclePoint> vCycle;  // empty until the point is on a cycle, then one lap of it

public:
    int iColourType;  // 1 to iColourCount; any other number colours nothing

    // The run, not yet begun, its point at (0, 0), in black and white; throws
    // std::invalid_argument when the run is one no computation can hold (runProblem). With more
    // than one thread, a run of a pattern whose orbits meet is cut into chunks computed side by
    // side; the picture is the same bit for bit.
    explicit CCalculation(const SRun& run = SRun(), int iThreads = 1);
    ~CCalculation();  // a run in progress on other threads is stopped
    CCalculation(CCalculation&& other) noexcept;
    CCalculation& operator=(CCalculation&& other) noexcept;

    const SRun&   parameters() const { return run; }
    int           threads() const { return iThreads; }  // it may use
    const screen& picture() const { return myScreen; }
    screen&       picture() { return myScreen; }

    void   initCalculate();                                      // the whole run: seed to hits
    void   actualCalculate();                                    // one iteration
    void   calculateHitsToColour(int iSizeWidth, int iSizeHight);  // the picture's colours
    int    convertToScreen(double dValue, int iScreenValue);     // [-1, 1] to [0, size - 1]
    double randomNum(double dMin, double dMax);                  // one draw scaled to the range
    void   seedRandom(unsigned int uSeed);                       // as srand(uSeed) for rand()

    // The run in parts, for a caller that has other things to do between them (a window that
    // answers its events, a progress line): the same draws and hits as initCalculate, which is
    // made of them.
    void beginCalculate();                // seeded from the run, the start point drawn
    bool continueCalculate(int iAtMost);  // at most that many more; false once all are done
    int  iterationsDone() const { return iDone; }  // those the picture holds: its first ones
    int  iterationsWorked() const;                 // on every thread: the run's progress

    // The points of the run's first iCount iterations that stay within the escape bound, as the
    // run goes (the same draws); afterwards the run is at its beginning again.
    std::vector<SPoint> orbit(int iCount);

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
    SPlot plot();
    static int pixelOf(double dValue, const SAxis& axis);
    static int hitIndex(const SPlot& plot, double dX, double dY);  // as postStep counts; -1: none

    // Chunks: where they begin, and the settling of each once this part has ended.
    void startPoint();  // seeded from the run, the start point drawn; no chunks
    void beginChunks(const SPoint* pGuess = nullptr);  // guessed: a point of the orbit
    bool chunksSettled();
    uint32_t drawPosition() const { return generator.position(); }

    // One iteration is the pattern step, which moves the point, then the post-step, which
    // restarts a runaway point or counts a hit.
    void runIterations(int iCount);  // iCount more from where the point is
    template <int iPat, bool bMirrored = false>
    __attribute__((noinline, flatten)) void runPattern(int iCount);
    void runMirrored(int iCount);    // and each hit's mirror image into vMirrorHits
    int  tracedStep(int& iMirror);   // one iteration; the pixel hit, and its mirror's (-1: none)
    int  trialStep();                // one iteration that hits nothing: the pixel it would hit
    void patternStep(int iPat);
    void step();       // the run's: its flame's, else its pattern's
    void flameStep();  // a function of the flame, chosen by one draw, as pattern 3 chooses
    __attribute__((noinline, flatten)) void runFlame(int iCount);
    template <int iPat> void stepOfPattern();  // iPat 0: a number that is no pattern
    void applyFunction(SFunction function);
    bool escaped() const;  // beyond the bound on either axis, or not a number
    void postStep(const SPlot& plot, int& iMaxHit);
    void postStepMirrored(const SPlot& plot, int& iMaxHit);
    void restartPoint();

    // The same iterations as runIterations, in closed form once the point is on a cycle:
    // continueCalculate's.
    void calculate(int iCount);
    template <int iPat> void calculatePattern(int iCount);
    template <int iPat> __attribute__((noinline, flatten)) int seekCycle(int iCount);
    template <int iPat> bool traceCycle(int iPeriod);
    bool followCycle(int iCount);      // false, and the cycle dropped, when the point is off it
    void beginCycleSearch();           // from the point, with the whole stretch ahead
    void markCycleSearch(int iPower);  // the point becomes the mark, the next iPower steps on
    bool closesCycle();                // the point is the mark: a cycle of iSinceMark steps

    // Pieces of a function.
    void   applyMap(int iMap);                     // dVx, dVy; identity copies: -0 stays -0
    void   applyAffine(const SAffine& map);        // dVx, dVy of the map
    void   applyNonlinear(ENonlinear eNonlinear);  // the polar values it needs, then the point
    void   storeRadius();                          // dRadius
    void   storePolar();                           // dRadius and dAngleTheta
    SPoint newPoint(ENonlinear eNonlinear) const;  // from the point and the scratch fields
    void   storePoint(SPoint pNew);                // the new point into dx, dy
};
