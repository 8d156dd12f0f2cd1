#include "render/chaos_game.h"

#include "core/limits.h"
#include "genome/filter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// What a plot of palette colour (r, g, b, α) at plot weight ω adds, in a moment of temporal
// weight f: ω·f·(r, g, b, α) and a count of ω, in the histogram's fixed point.
SBucket addOf(const SColour& colour, double dWeight, double dTemporal) {
    const auto fixed = [&](double d, double f) {
        return static_cast<uint64_t>(std::llround(std::max(0.0, d) * dWeight * f * dBucketUnit));
    };
    return {fixed(colour.dRed, dTemporal), fixed(colour.dGreen, dTemporal),
            fixed(colour.dBlue, dTemporal), fixed(colour.dAlpha, dTemporal), fixed(1, 1)};
}

}  // namespace

CChaosGame::CChaosGame(const SGenome& genome, double dTemporalWeight_)
    : bFinal(genome.bFinalXform), choice(genome), view(genome), ePaletteMode(genome.ePaletteMode),
      palette(genome.palette), dTemporalWeight(dTemporalWeight_) {
    const int iXforms = static_cast<int>(genome.vXforms.size());
    bZ = view.threeD() || (bFinal && readsZ(genome.finalXform));
    for (const SXform& xform : genome.vXforms) bZ = bZ || readsZ(xform);
    for (int j = 0; j < iXforms; j++) {
        const bool bSolo = genome.iSoloXform < 0 || genome.iSoloXform == j;
        vXforms.emplace_back(genome.vXforms[j], bSolo, bZ);
    }
    if (bFinal) finalXform = CXformMap(genome.finalXform, false, bZ);
    bLanes = lanesCan();
    bPlaceLanes = bLanes && !bFinal && ePaletteMode == ePaletteStep;
    if (ePaletteMode == ePaletteStep)
        for (const CXformMap& xform : vXforms)
            for (const SColour& colour : palette)
                vStepAdds.push_back(addOf(colour, xform.dPlotWeight, dTemporalWeight));
}

namespace {

bool isBad(double d) { return !(std::fabs(d) <= 1e10); }  // NaN too

}  // namespace

// The plot of point (x, y), colour c, after xform iXform, added to the job's: none where it has
// no weight or falls outside the grid.
void CChaosGame::plot(double x, double y, double c, int iXform, SBatchJob& job) const {
    const double dWeight = vXforms[iXform].dPlotWeight;
    SPlot& plot = (*job.pPlots)[job.iPlots];
    if (dWeight == 0 || !view.bucketOf(x, y, plot.uBucket)) return;
    // The palette entry of c: trunc(256·c), clamped; in linear mode blended with the next one.
    const double dIndex = 256 * c;
    const int iIndex = !(dIndex > 0) ? 0 : dIndex >= 255 ? 255 : static_cast<int>(dIndex);
    if (ePaletteMode == ePaletteStep) {
        plot.uAdd = stepAdd(iXform, iIndex);
        job.iPlots++;
        return;
    }
    plot.uAdd = static_cast<uint32_t>(job.iPlots);
    SBucket& add = (*job.pAdds)[job.iPlots++];
    const double dTrunc = std::trunc(dIndex);  // −0.5 blends entries 0 and 1, as in flam3
    if (!(dTrunc >= 0 && dTrunc < 255)) {
        add = addOf(palette[iIndex], dWeight, dTemporalWeight);
        return;
    }
    const double f = dIndex - dTrunc;
    const SColour& from = palette[iIndex];
    const SColour& to = palette[iIndex + 1];
    add = addOf({from.dRed + f * (to.dRed - from.dRed), from.dGreen + f * (to.dGreen - from.dGreen),
                 from.dBlue + f * (to.dBlue - from.dBlue),
                 from.dAlpha + f * (to.dAlpha - from.dAlpha)}, dWeight, dTemporalWeight);
}

// One iteration of a walk; false once it has all its samples.
template <bool bZ, class FSample>
bool CChaosGame::step(SWalk& walk, const FSample& onSample) const {
    if (walk.iDone >= walk.job.iSamples) return false;
    return stepThrough<bZ>(walk, choice.choose(walk.iPrevious, walk.random.next()), onSample);
}

// The step of a walk through xform j.
template <bool bZ, class FSample>
bool CChaosGame::stepThrough(SWalk& walk, int j, const FSample& onSample) const {
    double nx = walk.x, ny = walk.y, nz = walk.z, nc = walk.c;
    vXforms[j].apply<bZ>(nx, ny, nz, nc, walk.random);
    return finishStep<bZ>(walk, j, nx, ny, nz, nc, onSample);
}

// The rest of a step once xform j has mapped the walk's point to (nx, ny, nz), colour nc.
template <bool bZ, class FSample>
bool CChaosGame::finishStep(SWalk& walk, int j, double nx, double ny, double nz, double nc,
                            const FSample& onSample) const {
    // A bad result (x or y; z is not looked at) becomes a random point, z 0 as at a batch's
    // start: tried again four times, the fifth one kept.
    bool bRandom = false;
    if (isBad(nx) || isBad(ny)) {
        walk.job.iBadValues++;
        nx = walk.random.symmetric();
        ny = walk.random.symmetric();
        nz = 0;
        if (++walk.iBadInARow < 5) {
            walk.x = nx, walk.y = ny, walk.z = nz, walk.c = nc;
            return true;
        }
        bRandom = true;
    }
    walk.iBadInARow = 0;
    walk.x = nx, walk.y = ny, walk.z = nz, walk.c = nc;
    walk.iPrevious = j;
    if (walk.iDone++ < 0) return true;
    bRandom = placePlot<bZ>(walk, nx, ny, nz, nc, bRandom);
    onSample(nx, ny, nc, j, bRandom);
    return true;
}

// Where the walk's point (x, y, z) is plotted, and in what colour: through the final xform when
// it is applied (it colours and places the plot only; the walk goes on unchanged), then through
// the 3D camera. True when a random point stands for a bad value.
template <bool bZ>
bool CChaosGame::placePlot(SWalk& walk, double& x, double& y, double z, double& c,
                           bool bRandom) const {
    if (bFinal && (finalXform.dOpacity == 1 || walk.random.uniform() < finalXform.dOpacity)) {
        finalXform.apply<bZ>(x, y, z, c, walk.random);
        bRandom = false;
        if (isBad(x) || isBad(y)) {
            walk.job.iBadValues++;
            x = walk.random.symmetric();
            y = walk.random.symmetric();
            z = 0;
            bRandom = true;
        }
    }
    if constexpr (bZ)
        if (view.threeD()) view.project(x, y, z, walk.random);
    return bRandom;
}

// What a sample of a walk of runBatches does: its plot, if it makes one.
auto CChaosGame::plotting(SWalk& walk) const {
    return [this, &walk](double x, double y, double c, int j, bool) {
        plot(x, y, c, j, walk.job);
    };
}

template <bool bZ>
bool CChaosGame::step(SWalk& walk) const {
    return step<bZ>(walk, plotting(walk));
}

// Walks two batches at once, a step of each in turn: each is the walk it would be alone, but
// the processor overlaps the two chains of dependent arithmetic, where one would leave it
// waiting on the last result.
template <bool bZ>
void CChaosGame::runPairs(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const {
    for (int k = 0; k < iJobs; k += 2) {
        SWalk first(uSeed, pJobs[k]);
        if (k + 1 == iJobs) {
            while (step<bZ>(first)) {}
            return;
        }
        SWalk second(uSeed, pJobs[k + 1]);
        while (step<bZ>(first) & step<bZ>(second)) {}
        while (step<bZ>(first) || step<bZ>(second)) {}
    }
}

bool CChaosGame::lanesCan() const {
    if (bZ || static_cast<int>(vXforms.size()) > iMostXforms) return false;
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) return false;
    return std::all_of(vXforms.begin(), vXforms.end(),
                       [](const CXformMap& xform) { return xform.lanesCan(); });
}

// The walks wait by the xform each goes to next, and the xform most of them wait for maps them
// four at a time (a walk alone the one-point way): each walk takes exactly the steps it would
// alone, in its own order, whenever they run. A group of lanes that the walks do not fill is
// filled by the filler, a walk of its own after them that walks as they do but never plots (it
// never comes out of its fuse) and never waits: the loops over a group's lanes run whole.
void CChaosGame::runLanes(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const {
    constexpr int iLanes = SLanePoints::iLanes, iFiller = iMostWalksAtOnce;
    std::optional<SWalk> walks[iMostWalksAtOnce + 1];
    int iNext[iMostWalksAtOnce + 1];  // the xform each walk goes to next; -1 once it is done
    // Per xform j, at j + 1, the walks going to it next; at 0 (a walk done) always 0. Each loop
    // over the walks below is without branches: which walks go where is random, and a branch
    // on it is one the processor mispredicts.
    int iWaiting[iMostXforms + 1] = {};
    const auto chooseNext = [&](int w) {
        SWalk& walk = *walks[w];
        // Drawn even for a walk that is done, which draws nothing more: no branch.
        const int iChoice = choice.choose(walk.iPrevious, walk.random.next());
        iNext[w] = walk.iDone < walk.job.iSamples ? iChoice : -1;
        iWaiting[iNext[w] + 1] += iNext[w] >= 0;
    };
    for (int w = 0; w < iJobs; w++) walks[w].emplace(uSeed, pJobs[w]), chooseNext(w);
    // The filler: done from the start (no samples: it never waits), in a fuse it never leaves
    // (it never plots; its plots' place is one of its own).
    SBatchJob fillerJob = {0, std::numeric_limits<int>::min(), nullptr, nullptr, 0, 0};
    SPlot fillerPlot;
    SWalk& filler = walks[iFiller].emplace(uSeed, fillerJob);
    filler.pPlots = &fillerPlot;
    filler.iDone = std::numeric_limits<int>::min();
    const int iXforms = static_cast<int>(vXforms.size());
    for (;;) {
        // The xform most walks wait for: its count read xform by xform where the xforms are no
        // more than the walks, else through each walk's next xform.
        int j = 0, iMost = 0;
        if (iXforms <= iJobs) {
            for (int k = 0; k < iXforms; k++) {
                const int iCount = iWaiting[k + 1];
                j = iCount > iMost ? k : j;
                iMost = iCount > iMost ? iCount : iMost;
            }
        } else {
            for (int w = 0; w < iJobs; w++) {
                const int iCount = iWaiting[iNext[w] + 1];
                j = iCount > iMost ? iNext[w] : j;
                iMost = iCount > iMost ? iCount : iMost;
            }
        }
        if (iMost == 0) return;
        // The walks going to j, taken off its queue, and the filler after them.
        int iTaken[iMostWalksAtOnce + iLanes - 1], iTakenCount = 0;
        for (int w = 0; w < iJobs; w++) {
            const bool bTaken = iNext[w] == j;
            iTaken[iTakenCount] = w;
            iTakenCount += bTaken;
            iNext[w] = bTaken ? -1 : iNext[w];
        }
        for (int t = 0; t < iLanes - 1; t++) iTaken[iTakenCount + t] = iFiller;
        iWaiting[j + 1] = 0;
        if (iTakenCount == 1) {
            SWalk& walk = *walks[iTaken[0]];
            stepThrough<false>(walk, j, plotting(walk));
            chooseNext(iTaken[0]);
            continue;
        }
        const int iGroupsEnd = (iTakenCount + iLanes - 1) / iLanes * iLanes;
        for (int t = 0; t < iGroupsEnd; t += iLanes) mapLanes(j, walks, iTaken + t);
        for (int t = 0; t < iGroupsEnd; t++) chooseNext(iTaken[t]);
    }
}

// The rest of a step of a walk mapped in lanes, to (x, y), colour c, by xform j.
void CChaosGame::finishLane(SWalk& walk, int j, double x, double y, double c) const {
    finishStep<false>(walk, j, x, y, 0, c, plotting(walk));
}

void CChaosGame::runBatches(uint64_t uSeed, SBatchJob* pJobs, int iJobs, bool bInLanes) const {
    if (bInLanes && bLanes && iJobs > 1) return runLanes(uSeed, pJobs, iJobs);
    if (bZ) runPairs<true>(uSeed, pJobs, iJobs);
    else runPairs<false>(uSeed, pJobs, iJobs);
}

int CChaosGame::runBatch(uint64_t uSeed, uint64_t uBatch, int iSamples, std::vector<SPlot>& vPlots,
                         std::vector<SBucket>& vAdds, SBatchCounts& counts) const {
    SBatchJob job = {uBatch, iSamples, &vPlots, &vAdds, 0, 0};
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
        if (!bRandom && vXforms[j].dPlotWeight != 0) vPoints.push_back({x, y});
    };
    if (bZ) while (step<true>(walk, keep)) {}
    else while (step<false>(walk, keep)) {}
    counts.iBadValues += job.iBadValues;
}
