#pragma once

// Which way a worker walks its batches, a point at a time or four walks in vector lanes (the
// plots are the same either way): the two timed on its first whole groups of a moment, and the
// faster one kept. Lanes pay for costly xforms and not for cheap ones, nor where the walks spread
// over many xforms and seldom fill a group; only the processor can tell where the line falls.

#include <cstdint>

class CWalkChoice {
public:
    // A new moment: the trial again.
    void restart() { *this = CWalkChoice(); }
    // Whether the next group walks in lanes, where it can.
    bool lanesNext(bool bCan) const {
        if (!bCan) return false;
        return iTrials < iTrialGroups ? iTrials % 2 == 0 : bLanes;
    }
    // A group walked (bLanes: in lanes) in dSeconds: iSamples samples, bWhole if it had a whole
    // group's batches. The first whole group warms the caches, untimed; then the two ways take
    // turns, timed.
    void note(bool bCan, bool bLanes_, double dSeconds, int64_t iSamples, bool bWhole) {
        if (!bCan || iTrials >= iTrialGroups || !bWhole) return;
        if (iTrials > 0)
            dSecondsPerSample[bLanes_ ? 1 : 0] += dSeconds / static_cast<double>(iSamples);
        if (++iTrials == iTrialGroups) bLanes = dSecondsPerSample[1] < dSecondsPerSample[0];
    }

private:
    static constexpr int iTrialGroups = 5;  // a warm-up, then each way twice
    int iTrials = 0;
    double dSecondsPerSample[2] = {0, 0};   // one point at a time; in lanes: summed
    bool bLanes = false;
};
