#pragma once

// The chaos game of a genome, batch by batch, its points taken to buckets by the camera.
// A batch is flam3's sub-batch: a fresh random point and colour, 15 iterations not plotted, then
// up to iBatchSamples plotted ones. Batch b draws from the stream of (seed, b) alone, so a batch
// gives the same plots whoever runs it, and when.
//
// The point carries the editors' z (0 at a batch's start) only where something of the picture
// reads it: a variation whose X or Y depends on z, or the camera in three dimensions. Every
// other flame walks as before there was z (the walk is made in both kinds, render/xform_map.h).

#include "variations/variations.h"
#include "genome/genome.h"
#include "render/camera.h"
#include "render/xform_choice.h"
#include "render/xform_map.h"
#include "tone/histogram.h"

#include <cstdint>
#include <optional>
#include <vector>

constexpr int iBatchSamples = 10000;
constexpr int iFuseIterations = 15;
constexpr int iMostWalksAtOnce = 8;  // batches runBatches walks side by side

// What one batch did besides its plots.
struct SBatchCounts {
    int64_t iBadValues = 0;  // results replaced by a random point (flam3's error count)
};

struct SWorldPoint {
    double dX, dY;
};

// A batch to run, and what it made: its plots fill (*pPlots)[0 .. iPlots), and each adds
// CChaosGame::addsOf(job)[plot.uAdd] to its bucket.
struct SBatchJob {
    uint64_t uBatch;
    int iSamples;                 // at most iBatchSamples
    std::vector<SPlot>* pPlots;   // iBatchSamples entries, never resized
    // A blended palette's adds, one a plot (iBatchSamples entries, never resized); a stepped
    // palette's are the game's own, and this may be null.
    std::vector<SBucket>* pAdds;
    int iPlots;
    int64_t iBadValues;
};

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
    bool linearPalette() const { return ePaletteMode == ePaletteLinear; }
    // What the plots of a batch add, by their uAdd: the batch's adds, or the game's table.
    const SBucket* addsOf(const std::vector<SBucket>& vAdds) const {
        return linearPalette() ? vAdds.data() : vStepAdds.data();
    }
    const SBucket* addsOf(const SBatchJob& job) const {
        return linearPalette() ? job.pAdds->data() : vStepAdds.data();
    }

    // The same for several batches at once (at most iMostWalksAtOnce), each exactly as it would
    // run alone; in lanes where bLanes and lanes().
    void runBatches(uint64_t uSeed, SBatchJob* pJobs, int iJobs, bool bLanes = true) const;

    // The same walk as runBatch's, its points where they would be plotted in world coordinates,
    // before the 2D camera: each sample's that has a plot weight, wherever it lands, except the
    // random points that stand for bad values. They replace vPoints' contents; the bad values
    // are added to counts.
    void runBatchPoints(uint64_t uSeed, uint64_t uBatch, int iSamples,
                        std::vector<SWorldPoint>& vPoints, SBatchCounts& counts) const;

    const CCamera& camera() const { return view; }

    // Whether runBatches can map its walks' points four at a time in vector lanes (the same
    // plots as one at a time, bit for bit): on processors with AVX2 and FMA, for flames without
    // z whose xforms all have lane formulas. runBatches' bLanes false walks a point at a time:
    // the render times both ways, tests compare them.
    bool lanes() const { return bLanes; }

private:
    // One batch's walk through the chaos game: where it stands and what it has plotted.
    struct SWalk {
        SWalk(uint64_t uSeed, SBatchJob& job_)
            : job(job_), pPlots(job_.pPlots ? job_.pPlots->data() : nullptr),
              random(uSeed, job_.uBatch), x(random.symmetric()), y(random.symmetric()),
              c(random.uniform()) {}
        SBatchJob& job;
        SPlot* pPlots;  // the job's
        CBatchRandom random;
        double x, y, c;
        double z = 0;  // where the points carry z
        int iPrevious = -1, iBadInARow = 0, iDone = -iFuseIterations;
    };
    // One iteration, the point carrying z where bZ; a sample calls onSample(x, y, c, xform,
    // whether a random point stands for a bad value), (x, y) through the 3D camera.
    template <bool bZ, class FSample> bool step(SWalk& walk, const FSample& onSample) const;
    template <bool bZ> bool step(SWalk& walk) const;  // onSample: its plot
    auto plotting(SWalk& walk) const;
    template <bool bZ>
    bool placePlot(SWalk& walk, double& x, double& y, double z, double& c, bool bRandom) const;
    template <bool bZ, class FSample>
    bool stepThrough(SWalk& walk, int j, const FSample& onSample) const;
    template <bool bZ, class FSample>
    bool finishStep(SWalk& walk, int j, double nx, double ny, double nz, double nc,
                    const FSample& onSample) const;
    template <bool bZ> void runPairs(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const;
    void runLanes(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const;
    void mapLanes(int j, std::optional<SWalk>* walks, const int* pIndexes) const;
    void finishLane(SWalk& walk, int j, double x, double y, double c) const;
    void finishPlaced(SWalk& walk, int j, const SLanePoints& points, const SLanePlaces& places,
                      int i) const;
    bool lanesCan() const;
    void plot(double x, double y, double c, int iXform, SBatchJob& job) const;
    // Where in vStepAdds the sums of xform iXform's plots of palette entry iEntry are.
    static uint32_t stepAdd(int iXform, int iEntry) {
        return static_cast<uint32_t>(iXform * iPaletteSize + iEntry);
    }

    bool bZ;                        // the points carry z
    bool bLanes = false;            // the batches walk four at a time
    bool bPlaceLanes = false;       // and are placed on the grid four at a time
    std::vector<CXformMap> vXforms;
    bool bFinal;
    CXformMap finalXform;
    CXformChoice choice;
    CCamera view;
    EPaletteMode ePaletteMode;
    CPalette palette;
    double dTemporalWeight;
    std::vector<SBucket> vStepAdds; // step mode: per xform, per palette entry, what a plot adds
};
