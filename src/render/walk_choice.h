#pragma once

// Which way a worker walks its batches (game/chaos_game.h; the plots are the same every way):
// the ways timed on its first whole groups of a moment, and the fastest kept. Lanes pay for
// costly xforms and not for cheap ones, nor where the walks spread over many xforms and seldom
// fill a group, and mixed lanes for many cheap xforms but not beside a few costly ones; only the
// processor can tell where the lines fall.

#include <cstdint>

class CWalkChoice {
public:
    // A new moment: the trial again.
    void restart() { *this = CWalkChoice(); }
    // The way the next group walks, of the first iWays (in EWalkWay's order).
    int wayNext(int iWays) const {
        if (iTrials >= trialGroups(iWays)) return iChosen;
        return iTrials == 0 ? iWays - 1 : (iTrials - 1) % iWays;
    }
    // A group walked the way iWay in dSeconds: iSamples samples, bWhole if it had a whole
    // group's batches. The first whole group warms the caches, untimed; then the ways take
    // turns, timed.
    void note(int iWays, int iWay, double dSeconds, int64_t iSamples, bool bWhole) {
        if (iTrials >= trialGroups(iWays) || !bWhole) return;
        if (iTrials > 0) dSecondsPerSample[iWay] += dSeconds / static_cast<double>(iSamples);
        if (++iTrials < trialGroups(iWays)) return;
        for (int k = 1; k < iWays; k++)
            if (dSecondsPerSample[k] < dSecondsPerSample[iChosen]) iChosen = k;
    }

private:
    static constexpr int iMostWays = 3;
    static int trialGroups(int iWays) { return iWays < 2 ? 0 : 1 + 2 * iWays; }  // each twice
    int iTrials = 0;
    double dSecondsPerSample[iMostWays] = {};  // per way, summed over its trials
    int iChosen = 0;
};
