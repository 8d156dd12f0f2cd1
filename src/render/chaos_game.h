#pragma once

// The chaos game of a genome, batch by batch, its points taken to buckets by the camera.
// A batch is flam3's sub-batch: a fresh random point and colour, 15 iterations not plotted, then
// up to iBatchSamples plotted ones. Batch b draws from the stream of (seed, b) alone, so a batch
// gives the same plots whoever runs it, and when.

#include "variations/variations.h"
#include "genome/genome.h"
#include "render/camera.h"
#include "tone/histogram.h"

#include <cstdint>
#include <vector>

constexpr int iBatchSamples = 10000;
constexpr int iFuseIterations = 15;

// What one batch did besides its plots.
struct SBatchCounts {
    int64_t iBadValues = 0;  // results replaced by a random point (flam3's error count)
};

struct SWorldPoint {
    double dX, dY;
};

// A batch to run, and what it made: its plots fill (*pPlots)[0 .. iPlots).
struct SBatchJob {
    uint64_t uBatch;
    int iSamples;                 // at most iBatchSamples
    std::vector<SPlot>* pPlots;   // iBatchSamples entries, never resized
    int iPlots;
    int64_t iBadValues;
};

class CChaosGame {
public:
    explicit CChaosGame(const SGenome& genome);  // a genome that checkGenome passes

    // Batch uBatch of the render seeded uSeed, iSamples samples after the fuse (at most
    // iBatchSamples; those with no weight or outside the grid make no plot): its plots, in the
    // order made, replace vPlots' first entries, and their count is returned. vPlots must hold
    // iBatchSamples entries, and is never resized.
    int runBatch(uint64_t uSeed, uint64_t uBatch, int iSamples, std::vector<SPlot>& vPlots,
                 SBatchCounts& counts) const;

    // The same for several batches at once, each exactly as it would run alone.
    void runBatches(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const;

    // The same walk as runBatch's, its points where they would be plotted in world coordinates,
    // before the camera: each sample's that has a plot weight, wherever it lands, except the
    // random points that stand for bad values. They replace vPoints' contents; the bad values
    // are added to counts.
    void runBatchPoints(uint64_t uSeed, uint64_t uBatch, int iSamples,
                        std::vector<SWorldPoint>& vPoints, SBatchCounts& counts) const;

    const CCamera& camera() const { return view; }

private:
    struct SActive {           // one variation of an xform
        int        iVariation;
        double     dWeight;
        int        iFirstParameter;
        CConstants constants;  // its formula's, from the parameters and coefs
    };
    struct SPrepared {         // an xform made ready for the loop
        std::array<double, 6> coefs, post;
        bool   bPost;          // post is not the identity
        double dColor, dSpeed;
        double dPlotWeight;    // opacity^(log2 10); the final xform's: unused
        double dOpacity;       // the final xform's chance of being applied
        std::vector<double> parameters;
        std::vector<SActive> vMoving;  // those that move the pre-affine point (pre_blur)
        std::vector<SActive> vActive;  // those summed, in the table's order
    };

    struct SWalk;
    // One iteration; a sample calls onSample(x, y, c, xform, whether a random point stands for
    // a bad value).
    template <class FSample> bool step(SWalk& walk, const FSample& onSample) const;
    bool step(SWalk& walk) const;  // onSample: its plot
    static SPrepared prepare(const SXform& xform, bool bPlotted);
    void apply(const SPrepared& xform, double& x, double& y, double& c, CBatchRandom&) const;
    static void movePoint(const SPrepared& xform, double& tx, double& ty, CBatchRandom&);
    int choose(int iPrevious, double dUniform) const;
    bool plotOf(double x, double y, double c, int iXform, SPlot& plot) const;

    std::vector<SPrepared> vXforms;
    bool bFinal;
    SPrepared finalXform;
    int iRowLength;                 // xforms + 1
    std::vector<double> vCumulative;// per previous xform (none first): cumulative weights
    std::vector<int> vLastChoosable;// per row: the last xform it can choose
    CCamera view;
    EPaletteMode ePaletteMode;
    CPalette palette;
    std::vector<SBucket> vStepAdds; // step mode: per xform, per palette entry, what a plot adds
};
