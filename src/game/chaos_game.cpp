#include "game/chaos_game.h"

#include "base/limits.h"
#include "game/lane_walks.h"
#include "game/stepping.h"

namespace {

int mixableXforms(const CWalkSteps& steps) {
    int iMixable = 0;
    for (int k = 0; k < steps.xformCount(); k++) iMixable += steps.xform(k).mixable();
    return iMixable;
}

}  // namespace

CChaosGame::CChaosGame(const SGenome& genome, double dTemporalWeight)
    : steps(genome, dTemporalWeight),
      bLanes(lanesHere() && steps.xformCount() <= iMostXforms),
      bMixes(bLanes && !steps.carriesZ() && mixableXforms(steps) >= 2) {}

// Walks two batches at once, a step of each in turn: each is the walk it would be alone, but
// the processor overlaps the two chains of dependent arithmetic, where one would leave it
// waiting on the last result.
template <bool bZ>
void CChaosGame::runPairs(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const {
    for (int k = 0; k < iJobs; k += 2) {
        SWalk first(uSeed, pJobs[k]);
        if (k + 1 == iJobs) {
            while (steps.step<bZ>(first)) {}
            return;
        }
        SWalk second(uSeed, pJobs[k + 1]);
        while (steps.step<bZ>(first) & steps.step<bZ>(second)) {}
        while (steps.step<bZ>(first) || steps.step<bZ>(second)) {}
    }
}

void CChaosGame::runBatches(uint64_t uSeed, SBatchJob* pJobs, int iJobs, EWalkWay eWay) const {
    if (eWay != EWalkWay::eOnePoint && bLanes && iJobs > 1)
        return runLanes(steps, uSeed, pJobs, iJobs, eWay == EWalkWay::eMixedLanes && bMixes);
    if (steps.carriesZ()) runPairs<true>(uSeed, pJobs, iJobs);
    else runPairs<false>(uSeed, pJobs, iJobs);
}

int CChaosGame::runBatch(uint64_t uSeed, uint64_t uBatch, int iSamples, std::vector<SPlot>& vPlots,
                         std::vector<SBucket>& vAdds, SBatchCounts& counts) const {
    SBatchJob job = {uBatch, iSamples, vPlots.data(), vAdds.data(), 0, 0};
    runBatches(uSeed, &job, 1);
    counts.iBadValues += job.iBadValues;
    return job.iPlots;
}

void CChaosGame::runBatchPoints(uint64_t uSeed, uint64_t uBatch, int iSamples,
                                std::vector<SWorldPoint>& vPoints, SBatchCounts& counts) const {
    SBatchJob job = {uBatch, iSamples, nullptr, nullptr, 0, 0};
    SWalk walk(uSeed, job);
    vPoints.clear();
    const auto keep = [&](double x, double y, double, int j, bool bRandom) {
        if (!bRandom && steps.xform(j).dPlotWeight != 0) vPoints.push_back({x, y});
    };
    if (steps.carriesZ()) while (steps.step<true>(walk, keep)) {}
    else while (steps.step<false>(walk, keep)) {}
    counts.iBadValues += job.iBadValues;
}
