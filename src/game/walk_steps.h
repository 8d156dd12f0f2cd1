#pragma once

// The steps a walk takes through a genome: the next xform chosen, the point mapped, a bad value
// replaced, the walk moved on, and the sample placed (through the final xform and the 3D camera
// into the world, then on the grid) and plotted. A walk alone takes them one after another
// (game/stepping.h); four walks going to the same xform take the map and the placing side by
// side in vector lanes (game/lane_walks.cpp), each lane by the same source, and every other
// piece one walk at a time by the same functions.
//
// The point carries the editors' z (0 at a batch's start) only where something of the picture
// reads it: a variation whose X or Y depends on z, or the camera in three dimensions. Every
// other flame walks as before there was z.

#include "genome/genome.h"
#include "maths/numbers.h"
#include "game/camera.h"
#include "game/plot_adds.h"
#include "game/walk.h"
#include "game/xform_choice.h"
#include "game/xform_map.h"
#include "tone/histogram.h"

#include <cstdint>
#include <vector>

class CWalkSteps {
public:
    // A genome that checkGenome passes; its plots' colours weigh dTemporalWeight (a moment of
    // a frame blurred in time), their counts do not.
    CWalkSteps(const SGenome& genome, double dTemporalWeight);

    bool carriesZ() const { return bZ; }
    int xformCount() const { return static_cast<int>(vXforms.size()); }
    const CXformMap& xform(int j) const { return vXforms[j]; }
    const CCamera& camera() const { return view; }
    // Whether the palette is blended: each plot's sums are then its batch's own.
    bool linearPalette() const { return ePaletteMode == ePaletteLinear; }
    const std::vector<SBucket>& stepAdds() const { return vStepAdds; }

    // The xform the walk goes to next, by one draw of its random numbers.
    int chooseNext(SWalk& walk) const {
        return choice.choose(walk.iPrevious, walk.random.next());
    }

    // One iteration of a walk alone, the point carrying z where bZ; false once it has all its
    // samples. A sample calls onSample(x, y, c, xform, whether a random point stands for a bad
    // value), (x, y) in the world, after the final xform and the 3D camera.
    template <bool bZ, class FSample> bool step(SWalk& walk, const FSample& onSample) const;
    template <bool bZ> bool step(SWalk& walk) const;  // onSample: its plot
    // The step of a walk through xform j; the rest of it once j has mapped its point.
    template <bool bZ, class FSample>
    bool stepThrough(SWalk& walk, int j, const FSample& onSample) const;
    template <bool bZ, class FSample>
    bool finishStep(SWalk& walk, int j, SWalkPoint<double> point, const FSample& onSample) const;
    // What a sample does where the walks plot: its plot, if it makes one.
    auto plotting(SWalk& walk) const {
        return [this, &walk](double x, double y, double c, int j, bool) { plot(walk, j, x, y, c); };
    }

    // The pieces of a step, of a walk alone and of lanes alike. The walk moved to its new point,
    // mapped by xform j and good: true if it is past its fuse, its sample to be placed.
    bool moveTo(SWalk& walk, int j, const SWalkPoint<double>& point) const {
        walk.iBadInARow = 0;
        walk.x = point.x, walk.y = point.y, walk.z = point.z, walk.c = point.c;
        walk.iPrevious = j;
        return walk.iDone++ >= 0;
    }
    // The sample's point in the world: through the final xform where it is applied (it colours
    // and places the plot only) and the 3D camera. Returns where a random point stands for a bad
    // value (bRandom, or the final xform's own); bBadFinal: where the final xform's result was
    // bad, each a bad value to count.
    template <class T, bool bZ>
    maths::TMaskOf<T> placeInWorld(SWalkPoint<T>& point, TRandomOf<T>& random,
                                   maths::TMaskOf<T> bRandom, maths::TMaskOf<T>& bBadFinal) const;
    // The plot of a sample placed on the grid, after xform j: none where it has no weight or
    // falls outside.
    // In a stepped palette without branches: the plot is written in the job's next place whether
    // it is made or not (that place is free: the walk has samples left), and counted only if made.
    void record(SWalk& walk, int j, const SGridPlace<double>& place, double c) const {
        const bool bMade = place.bInside & (vXforms[j].dPlotWeight != 0);
        if (ePaletteMode != ePaletteStep) {
            if (bMade) recordBlended(walk, j, place, c);
            return;
        }
        walk.pPlots[walk.job.iPlots] = {view.bucketAt(place), stepAdd(j, place.iEntry)};
        walk.job.iPlots += bMade;
    }

private:
    void recordBlended(SWalk& walk, int j, const SGridPlace<double>& place, double c) const;
    void plot(SWalk& walk, int j, double x, double y, double c) const {
        record(walk, j, view.placeOnGrid(x, y, c), c);
    }
    // Where in vStepAdds the sums of xform iXform's plots of palette entry iEntry are.
    static uint32_t stepAdd(int iXform, int iEntry) {
        return static_cast<uint32_t>(iXform * iPaletteSize + iEntry);
    }

    bool bZ;                        // the points carry z
    std::vector<CXformMap> vXforms;
    bool bFinal;
    CXformMap finalXform;
    CXformChoice choice;
    CCamera view;
    EPaletteMode ePaletteMode;
    CPalette palette;
    double dTemporalWeight;
    std::vector<SPlotWeights> vPlotWeights;  // blended mode: per xform
    std::vector<SBucket> vStepAdds; // step mode: per xform, per palette entry, what a plot adds
};
