#pragma once

// A run in slices, for a caller that has other things to do between them (a window that answers
// its events, a progress line): on one thread along a cycle where it finds one, or on several in
// chunks, and in every case the very picture of the plain loop, bit for bit.

#include "core/calc.h"
#include "runs/cycle.h"
#include "runs/parallel.h"

#include <memory>

class CRunner {
    friend class CRunnerPeer;  // the unit tests': a run begun from a point of their own

public:
    explicit CRunner(const SRun& run = SRun(), int iThreads = 1);
    ~CRunner();  // a run in progress on other threads is stopped
    CRunner(CRunner&& other) noexcept;
    CRunner& operator=(CRunner&& other) noexcept;

    CCalculation&       calc() { return myCalc; }  // its point, its picture and colouring
    const CCalculation& calc() const { return myCalc; }
    const SRun&         parameters() const { return myCalc.parameters(); }
    int                 threads() const { return iThreads; }  // it may use

    void initCalculate();                 // the whole run: seed to hits
    void beginCalculate();                // seeded from the run, the start point drawn
    bool continueCalculate(int iAtMost);  // at most that many more; false once all are done
    int  iterationsDone() const { return iDone; }  // those the picture holds: its first ones
    int  iterationsWorked() const;                 // on every thread: the run's progress
    int  cycleLength() const { return cycle.length(); }  // of the cycle followed; 0: none

private:
    void beginFrom(const SPoint* pGuess);  // the chunks guessed from that point, if given
    bool chunksSettled();
    int  ownEnd() const;  // where the part computed here ends; the rest is the chunks'

    CCalculation myCalc;
    int          iThreads;
    int          iDone = 0;
    CCycleRun    cycle;
    std::unique_ptr<CParallelRun> pChunks;  // null: the run is not cut into chunks
};
