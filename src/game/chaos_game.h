#pragma once

// The chaos game of a genome, batch by batch, its points taken to buckets by the camera
// (game/walk.h: what a batch is; game/walk_steps.h: the steps of its walk). Batches run side
// by side, a point at a time or, on processors with AVX2 and fused multiply-add, four walks'
// points at once in vector lanes: the same plots either way, bit for bit.

#include "genome/genome.h"
#include "game/camera.h"
#include "game/walk.h"
#include "game/walk_steps.h"
#include "tone/histogram.h"

#include <cstdint>
#include <vector>

// How a game walks its batches: a point at a time; four walks going to one xform at a time in
// vector lanes; or the same, and walks going to any of the mixable xforms (linear alone, as a
// tiling's or a symmetry's) four at a time too, each lane by its own. The plots are the same
// every way; which is the fastest depends on the flame and the processor.
enum class EWalkWay { eOnePoint, eLanes, eMixedLanes };

class CChaosGame {
public:
    // A genome that checkGenome passes; its plots' colours weigh dTemporalWeight (a moment of
    // a frame blurred in time), their counts do not.
    explicit CChaosGame(const SGenome& genome, double dTemporalWeight = 1);

    // Batch uBatch of the render seeded uSeed, iSamples samples after the fuse (at most
    // iBatchSamples; those with no weight or outside the grid make no plot): its plots, in the
    // order made, replace vPlots' first entries, and their count is returned; what they add is
    // addsOf(vAdds). vPlots must hold iBatchSamples entries, and vAdds too where the palette is
    // blended (linearPalette()); neither is resized.
    int runBatch(uint64_t uSeed, uint64_t uBatch, int iSamples, std::vector<SPlot>& vPlots,
                 std::vector<SBucket>& vAdds, SBatchCounts& counts) const;

    // Whether the palette is blended: each plot's sums are then its batch's own.
    bool linearPalette() const { return steps.linearPalette(); }
    // What the plots of a batch add, by their uAdd: the batch's adds, or the game's table.
    const SBucket* addsOf(const std::vector<SBucket>& vAdds) const {
        return linearPalette() ? vAdds.data() : steps.stepAdds().data();
    }
    const SBucket* addsOf(const SBatchJob& job) const {
        return linearPalette() ? job.pAdds : steps.stepAdds().data();
    }

    // The same for several batches at once (at most iMostWalksAtOnce), each exactly as it would
    // run alone; the way eWay, of the first wayCount() ways.
    void runBatches(uint64_t uSeed, SBatchJob* pJobs, int iJobs,
                    EWalkWay eWay = EWalkWay::eLanes) const;

    // The same walk as runBatch's, its points where they would be plotted in world coordinates,
    // before the 2D camera: each sample's that has a plot weight, wherever it lands, except the
    // random points that stand for bad values. They replace vPoints' contents; the bad values
    // are added to counts.
    void runBatchPoints(uint64_t uSeed, uint64_t uBatch, int iSamples,
                        std::vector<SWorldPoint>& vPoints, SBatchCounts& counts) const;

    const CCamera& camera() const { return steps.camera(); }

    // Whether runBatches can map its walks' points four at a time in vector lanes (the same
    // plots as one at a time, bit for bit): on processors with AVX2 and FMA. Tests compare the
    // ways.
    bool lanes() const { return bLanes; }
    // How many of the ways, in EWalkWay's order, the game can walk: one point alone, the lanes
    // too, and mixed lanes too where the genome has two mixable xforms or more, without z.
    int wayCount() const { return !bLanes ? 1 : bMixes ? 3 : 2; }

private:
    template <bool bZ> void runPairs(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const;

    CWalkSteps steps;
    bool bLanes;
    bool bMixes;  // mixed lanes would mix
};
