#include "game/lane_walks.h"

#include "base/limits.h"
#include "game/stepping.h"

#include <limits>
#include <optional>

using maths::lanes::V;
using maths::lanes::VBits;

namespace {

constexpr int iLanes = maths::lanes::iLanes;

// The rest of the steps of four walks mapped in lanes to points of which one is bad: each walk
// alone. Rare, and not inlined into the lanes' step, which it would swell with the one-point
// formulas of the final xform.
template <bool bZ, class FXformOf>
[[gnu::noinline]] void finishAlone(const CWalkSteps& steps, FXformOf xformOf,
                                   SWalk* const* pWalks, const SWalkPoint<V>& point) {
    for (int i = 0; i < iLanes; i++) {
        const SWalkPoint<double> lane = {point.x[i], point.y[i], point.z[i], point.c[i]};
        steps.finishStep<bZ>(*pWalks[i], xformOf(i), lane, steps.plotting(*pWalks[i]));
    }
}

// One step of four walks, all going to xform j, or (bMixed) walk i to mixable xform pJ[i],
// mapped and placed at once, each lane by the same source as a walk alone. A lane whose map is
// bad finishes alone, as all four then do (the bad-value rule draws and waits a walk at a time);
// the others are moved on, and those past their fuse placed in lanes and plotted one by one.
// Flattened: the map, the formulas' lane functions and the placing inline, the lanes in
// registers between them.
template <bool bZ, bool bMixed>
[[gnu::target("avx2,fma"), gnu::flatten]] void stepLanes(const CWalkSteps& steps, int j,
                                                          const int* pJ, SWalk* const* pWalks) {
    const auto xformOf = [j, pJ](int i) { return bMixed ? pJ[i] : j; };
    CLaneRandom random(pWalks[0]->random, pWalks[1]->random, pWalks[2]->random,
                       pWalks[3]->random);
    SWalkPoint<V> point = {V{pWalks[0]->x, pWalks[1]->x, pWalks[2]->x, pWalks[3]->x},
                           V{pWalks[0]->y, pWalks[1]->y, pWalks[2]->y, pWalks[3]->y},
                           V{pWalks[0]->z, pWalks[1]->z, pWalks[2]->z, pWalks[3]->z},
                           V{pWalks[0]->c, pWalks[1]->c, pWalks[2]->c, pWalks[3]->c}};
    if constexpr (bMixed) {
        const CXformMap* const pMaps[iLanes] = {&steps.xform(pJ[0]), &steps.xform(pJ[1]),
                                                &steps.xform(pJ[2]), &steps.xform(pJ[3])};
        CXformMap::applyMixed(pMaps, point);
    } else {
        steps.xform(j).apply<V, bZ>(point, random);
    }
    if (maths::anyOf(stepping::isBad(point.x) | stepping::isBad(point.y)))
        return finishAlone<bZ>(steps, xformOf, pWalks, point);
    // Which lanes are placed, a bit each: a mask written lane by lane would be read back whole
    // before the writes reach it.
    long long iPlaced = 0;
    for (int i = 0; i < iLanes; i++) {
        const SWalkPoint<double> lane = {point.x[i], point.y[i], point.z[i], point.c[i]};
        iPlaced |= static_cast<long long>(steps.moveTo(*pWalks[i], xformOf(i), lane)) << i;
    }
    if (iPlaced == 0) return;
    const VBits bPlaced = (VBits{1, 2, 4, 8} & iPlaced) != 0;
    VBits bBadFinal;
    drawnWhere(random, bPlaced, [&] {
        steps.placeInWorld<V, bZ>(point, random, maths::noLane<V>(), bBadFinal);
    });
    const SGridPlace<V> place = steps.camera().placeOnGrid(point.x, point.y, point.c);
    for (int i = 0; i < iLanes; i++) {
        if (!((iPlaced >> i) & 1)) continue;
        pWalks[i]->job.iBadValues += bBadFinal[i] != 0;
        steps.record(*pWalks[i], xformOf(i), laneOf(place, i), point.c[i]);
    }
}

// The walks wait by the xform each goes to next, and the xform most of them wait for maps them
// four at a time (a walk alone the one-point way): each walk takes exactly the steps it would
// alone, in its own order, whenever they run. Where two xforms or more are mixable, the walks
// going to any of them wait as one xform, mapped four at a time each by its own: a flame of many
// linear xforms (a tiling's, a symmetry's) fills the lanes that its xforms one by one would
// leave empty. A group of lanes that the walks do not fill is filled by the filler, a walk of
// its own after them that walks as they do but never plots (it never comes out of its fuse)
// and never waits: the loops over a group's lanes run whole.
template <bool bZ, bool bMixing>
void runLanesOf(const CWalkSteps& steps, uint64_t uSeed, SBatchJob* pJobs, int iJobs) {
    constexpr int iFiller = iMostWalksAtOnce;
    std::optional<SWalk> walks[iMostWalksAtOnce + 1];
    int iNext[iMostWalksAtOnce + 1];  // the xform each walk goes to next; -1 once it is done
    // Per xform j, at j + 1, the walks going to it next, and whether it waits among the mixed;
    // at 0 (a walk done) always 0 and false. Each loop over the walks below is without branches:
    // which walks go where is random, and a branch on it is one the processor mispredicts.
    int iWaiting[iMostXforms + 1] = {};
    bool bMixes[bMixing ? iMostXforms + 1 : 1] = {};
    const int iXforms = steps.xformCount();
    int iFillerXform = 0;  // the filler's xform where the walks are mixed, a mixable one
    for (int k = 0; k < iXforms && bMixing; k++)
        if ((bMixes[k + 1] = steps.xform(k).mixable())) iFillerXform = k;
    const auto mixes = [&](int j) { return bMixing && bMixes[j + 1]; };
    int iMixedWaiting = 0;
    const auto chooseNext = [&](int w) {
        SWalk& walk = *walks[w];
        // Drawn even for a walk that is done, which draws nothing more: no branch.
        const int iChoice = steps.chooseNext(walk);
        iNext[w] = walk.iDone < walk.job.iSamples ? iChoice : -1;
        iWaiting[iNext[w] + 1] += iNext[w] >= 0;
        iMixedWaiting += mixes(iNext[w]);
    };
    for (int w = 0; w < iJobs; w++) walks[w].emplace(uSeed, pJobs[w]), chooseNext(w);
    // The filler: done from the start (no samples: it never waits), in a fuse it never leaves
    // (it never plots; its plots' place is one of its own).
    SBatchJob fillerJob = {0, std::numeric_limits<int>::min(), nullptr, nullptr, 0, 0};
    SPlot fillerPlot;
    SWalk& filler = walks[iFiller].emplace(uSeed, fillerJob);
    filler.pPlots = &fillerPlot;
    filler.iDone = std::numeric_limits<int>::min();
    for (;;) {
        // The xform most walks wait for, the mixed ones aside: its count read xform by xform
        // where the xforms are no more than the walks, else through each walk's next xform.
        int j = 0, iMost = 0;
        if (iXforms <= iJobs) {
            for (int k = 0; k < iXforms; k++) {
                const int iCount = mixes(k) ? 0 : iWaiting[k + 1];
                j = iCount > iMost ? k : j;
                iMost = iCount > iMost ? iCount : iMost;
            }
        } else {
            for (int w = 0; w < iJobs; w++) {
                const int iCount = mixes(iNext[w]) ? 0 : iWaiting[iNext[w] + 1];
                j = iCount > iMost ? iNext[w] : j;
                iMost = iCount > iMost ? iCount : iMost;
            }
        }
        const bool bMixed = bMixing && iMixedWaiting > 0 && iMixedWaiting >= iMost;
        if (!bMixed && iMost == 0) return;
        // The walks going to j, or to the mixed, taken off their queues, and the filler after
        // them; each with its xform.
        int iTaken[iMostWalksAtOnce + iLanes - 1], iTakenCount = 0;
        int iTakenTo[bMixing ? iMostWalksAtOnce + iLanes - 1 : 1];
        for (int w = 0; w < iJobs; w++) {
            const bool bTaken = bMixed ? mixes(iNext[w]) : iNext[w] == j;
            iTaken[iTakenCount] = w;
            if constexpr (bMixing) iTakenTo[iTakenCount] = iNext[w];
            iTakenCount += bTaken;
            iNext[w] = bTaken ? -1 : iNext[w];
        }
        for (int t = 0; t < iLanes - 1; t++) iTaken[iTakenCount + t] = iFiller;
        for (int t = 0; t < iLanes - 1 && bMixed; t++) iTakenTo[iTakenCount + t] = iFillerXform;
        if (bMixed) {
            for (int t = 0; t < iTakenCount; t++) iWaiting[iTakenTo[t] + 1] = 0;
            iMixedWaiting = 0;
        } else {
            iWaiting[j + 1] = 0;
        }
        // A walk alone steps alone; so do a few walks of an xform that is linear alone (a
        // tiling's), which lanes pay for only when they are full.
        if (iTakenCount < (!bMixed && steps.xform(j).linearAlone() ? iLanes : 2)) {
            for (int t = 0; t < iTakenCount; t++) {
                SWalk& walk = *walks[iTaken[t]];
                steps.stepThrough<bZ>(walk, bMixed ? iTakenTo[t] : j, steps.plotting(walk));
                chooseNext(iTaken[t]);
            }
            continue;
        }
        const int iGroupsEnd = (iTakenCount + iLanes - 1) / iLanes * iLanes;
        for (int t = 0; t < iGroupsEnd; t += iLanes) {
            SWalk* pGroup[iLanes];
            for (int i = 0; i < iLanes; i++) pGroup[i] = &*walks[iTaken[t + i]];
            if (bMixed) stepLanes<bZ, true>(steps, j, &iTakenTo[t], pGroup);
            else stepLanes<bZ, false>(steps, j, nullptr, pGroup);
        }
        for (int t = 0; t < iGroupsEnd; t++) chooseNext(iTaken[t]);
    }
}

}  // namespace

bool lanesHere() { return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"); }

void runLanes(const CWalkSteps& steps, uint64_t uSeed, SBatchJob* pJobs, int iJobs, bool bMixed) {
    if (steps.carriesZ()) runLanesOf<true, false>(steps, uSeed, pJobs, iJobs);
    else if (bMixed) runLanesOf<false, true>(steps, uSeed, pJobs, iJobs);
    else runLanesOf<false, false>(steps, uSeed, pJobs, iJobs);
}
