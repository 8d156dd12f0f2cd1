#pragma once

// How a walk steps: CWalkSteps' templates, included where walks are run. A step alone, and the
// placing that lanes share with it.

#include "game/plot_adds.h"
#include "game/walk_steps.h"
#include "game/xform_apply.h"

#include <cmath>

namespace stepping {

template <class T>
inline maths::TMaskOf<T> isBad(T d) {  // NaN too
    return !(maths::fabs(d) <= 1e10);
}

}  // namespace stepping

template <bool bZ, class FSample>
inline bool CWalkSteps::step(SWalk& walk, const FSample& onSample) const {
    if (walk.iDone >= walk.job.iSamples) return false;
    return stepThrough<bZ>(walk, chooseNext(walk), onSample);
}

template <bool bZ>
inline bool CWalkSteps::step(SWalk& walk) const {
    return step<bZ>(walk, plotting(walk));
}

template <bool bZ, class FSample>
inline bool CWalkSteps::stepThrough(SWalk& walk, int j, const FSample& onSample) const {
    SWalkPoint<double> point = walk.point();
    vXforms[j].apply<double, bZ>(point, walk.random);
    return finishStep<bZ>(walk, j, point, onSample);
}

// A bad result (x or y; z is not looked at) becomes a random point, z 0 as at a batch's start:
// tried again four times, the fifth one kept.
template <bool bZ, class FSample>
inline bool CWalkSteps::finishStep(SWalk& walk, int j, SWalkPoint<double> point,
                                   const FSample& onSample) const {
    bool bRandom = false;
    if (stepping::isBad(point.x) || stepping::isBad(point.y)) {
        walk.job.iBadValues++;
        point.x = walk.random.symmetric();
        point.y = walk.random.symmetric();
        point.z = 0;
        if (++walk.iBadInARow < 5) {
            walk.x = point.x, walk.y = point.y, walk.z = point.z, walk.c = point.c;
            return true;
        }
        bRandom = true;
    }
    if (!moveTo(walk, j, point)) return true;
    bool bBadFinal = false;
    bRandom = placeInWorld<double, bZ>(point, walk.random, bRandom, bBadFinal);
    walk.job.iBadValues += bBadFinal;
    onSample(point.x, point.y, point.c, j, bRandom);
    return true;
}

// The final xform's chance drawn only where it is not 1; a bad result of it a random point, z 0.
// Where only some lanes apply it, only they draw for it.
template <class T, bool bZ>
inline maths::TMaskOf<T> CWalkSteps::placeInWorld(SWalkPoint<T>& point, TRandomOf<T>& random,
                                                  maths::TMaskOf<T> bRandom,
                                                  maths::TMaskOf<T>& bBadFinal) const {
    using TMask = maths::TMaskOf<T>;
    bBadFinal = maths::noLane<T>();
    if (bFinal) {
        const TMask bApplied = finalXform.dOpacity == 1
                                   ? maths::everyLane<T>()
                                   : TMask(random.uniform() < finalXform.dOpacity);
        SWalkPoint<T> moved = point;
        drawnWhere(random, bApplied, [&] { finalXform.apply<T, bZ>(moved, random); });
        point.x = bApplied ? moved.x : point.x, point.y = bApplied ? moved.y : point.y;
        point.z = bApplied ? moved.z : point.z, point.c = bApplied ? moved.c : point.c;
        bRandom = bApplied ? maths::noLane<T>() : bRandom;
        bBadFinal = bApplied && (stepping::isBad(point.x) || stepping::isBad(point.y));
        drawnWhere(random, bBadFinal, [&] {
            const T x = random.symmetric(), y = random.symmetric();
            point.x = bBadFinal ? x : point.x, point.y = bBadFinal ? y : point.y;
            point.z = bBadFinal ? T{} : point.z;
        });
        bRandom = bBadFinal ? maths::everyLane<T>() : bRandom;
    }
    if constexpr (bZ)
        if (view.threeD()) view.project(point.x, point.y, point.z, random);
    return bRandom;
}

// A plot made, in a blended palette: its entry blended with the next one. Inline, so that the
// lanes' step works out four channels in one register.
inline void CWalkSteps::recordBlended(SWalk& walk, int j, const SGridPlace<double>& place,
                                      double c) const {
    const SPlotWeights& weights = vPlotWeights[j];
    SBatchJob& job = walk.job;
    SPlot& plot = walk.pPlots[job.iPlots];
    plot.uBucket = view.bucketAt(place);
    plot.uAdd = static_cast<uint32_t>(job.iPlots);
    SBucket& add = job.pAdds[job.iPlots++];
    const double dIndex = 256 * c;
    const double dTrunc = std::trunc(dIndex);  // −0.5 blends entries 0 and 1, as in flam3
    const VChannels from = channelsOf(palette[place.iEntry]);
    if (!(dTrunc >= 0 && dTrunc < 255)) {
        add = addOfChannels(from, weights);
        return;
    }
    const double f = dIndex - dTrunc;
    const VChannels to = channelsOf(palette[place.iEntry + 1]);
    add = addOfChannels(from + f * (to - from), weights);
}
