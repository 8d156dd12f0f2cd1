#pragma once

// A pattern of one function draws nothing in a step, so the point follows a fixed map, and most
// of those patterns soon settle on an exact cycle; from there on the run's hits follow in closed
// form. The cycle is sought (Brent's way) in the run's first iterations only, by a loop that
// looks at the point after every iteration: the plain loop stays as lean as it was.

#include "core/calc.h"

#include <cstdint>
#include <vector>

class CCycleRun {
public:
    // Sought only where the run's step draws nothing: a pattern of one function, or none.
    explicit CCycleRun(const SRun& run);

    // The search from where calc's point is, with the whole stretch ahead.
    void begin(const CCalculation& calc);

    // iCount iterations of calc from where its point is: the search, then along the cycle in
    // closed form once the point is on one; else, and for a run whose step draws, the plain
    // loop. The very hits, most hits, point and draws of the plain loop.
    void calculate(CCalculation& calc, int iCount);

    int length() const { return static_cast<int>(vCycle.size()); }  // 0: no cycle known

private:
    struct SCyclePoint {
        double dX, dY;
        int iPixel;  // the index of its count, or -1: outside the plotting window
    };

    int  seek(CCalculation& calc, int iCount);  // the iterations it did
    bool traceLap(const CCalculation& calc, int iPeriod);
    bool follow(CCalculation& calc, int iCount);  // false, and the cycle dropped: off it
    void mark(double dX, double dY, int iPower);  // the mark there, the next iPower steps on
    bool closes(double dX, double dY);  // the point is the mark: a cycle of iSinceMark steps

    bool     bSeeks;
    uint64_t uMarkX, uMarkY;  // the bits of the point marked: the cycle closes on it
    int      iPower = 1;      // steps from one mark to the next: 1, 2, 4...
    int      iSinceMark = 0;
    int      iStepsLeft = 0;  // of the run's stretch in which a cycle is sought
    std::vector<SCyclePoint> vCycle;  // empty until the point is on a cycle, then one lap of it
};
