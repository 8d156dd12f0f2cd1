#include "render/render_plan.h"

#include "game/walk.h"
#include "maths/maths.h"
#include "tone/density_rows.h"
#include "tone/histogram.h"

#include <algorithm>
#include <cmath>

// A frame's passes may estimate density with radii of their own, each at the picture's
// supersample.
int densityReachOf(const SRenderPlan& plan) {
    int iReach = densityReachOf(plan.picture);
    if (!plan.genomeAt) return iReach;
    for (const std::vector<SMoment>& vMoments : plan.vPasses) {
        if (vMoments.empty()) continue;
        SGenome genome = plan.genomeAt(vMoments.front().dTime);
        genome.iSupersample = plan.picture.iSupersample;
        iReach = std::max(iReach, densityReachOf(genome));
    }
    return iReach;
}

double renderBytesOf(const SRenderPlan& plan, int iThreads, SRows pixelRows) {
    const SGenome& picture = plan.picture;
    const SGridShape grid = gridShapeOf(picture);
    const int iReach = densityReachOf(plan);
    const SRows bucketRows = bucketRowsFor(picture, pixelRows, iReach);
    const double dGridRow = grid.iWidth;
    // Each bucket's sums, and 4 floats a bucket for the passes done where there are several.
    const double dBucket = sizeof(SBucket) + (plan.vPasses.size() > 1 ? 4 * sizeof(float) : 0);
    // Two groups of plots a worker where there are several, and their adds where blended (the
    // most of either: some moment's palette may be blended).
    const double dGroupSample =
        std::max(walksAtOnce(true) * (sizeof(SPlot) + sizeof(SBucket)),
                 walksAtOnce(false) * sizeof(SPlot));
    const double dPlots = static_cast<double>(std::max(1, iThreads)) * (iThreads > 1 ? 2 : 1) *
                          iBatchSamples * dGroupSample;
    // The rows of density estimation's window (2·N_h + a block of scattered rows, and one out)
    // and of the filter's (a group of 32 pixel rows' worth and F, at most as wide as the gutter
    // on both sides and S), 4 doubles a bucket.
    const double dToneRows = 2.0 * iReach + iScatterRows * iScatterBlocks + 1 + 32 +
                             2 * grid.iGutter + picture.iSupersample;
    const double dPictureRows = 4.0 * 96 * picture.iWidth * 3;  // groups, pipe, writer
    return bucketRows.count() * dGridRow * dBucket + dPlots +
           dToneRows * dGridRow * 4 * sizeof(double) + dPictureRows;
}

// Passes out of range are refused by the check; meanwhile they make one.
int64_t passSamplesOf(const SGenome& genome) {
    const int iPasses = genome.iPasses >= 1 && genome.iPasses <= iMostPasses ? genome.iPasses : 1;
    const double dSamples = genome.dQuality * maths::pow(4.0, genome.dZoom) * genome.iWidth *
                            genome.iHeight;
    return std::max<int64_t>(1, std::llround(dSamples / iPasses));
}

SRenderPlan stillPlan(const SGenome& genome, double dQuality) {
    SRenderPlan plan;
    plan.genome = genome;
    if (dQuality > 0) plan.genome.dQuality = dQuality;
    plan.picture = plan.genome;
    const int iPasses = genome.iPasses >= 1 && genome.iPasses <= iMostPasses ? genome.iPasses : 1;
    plan.vPasses.assign(iPasses, {SMoment{genome.dTime, 1, passSamplesOf(plan.genome)}});
    return plan;
}
