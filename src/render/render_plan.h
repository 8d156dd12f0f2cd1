#pragma once

// What a render draws: a still genome, or a frame blurred in time. A frame's passes are each a
// run of moments; a moment is the genome at its own time, with its own xforms, palette and
// camera, whose plots' colours weigh as the temporal filter says. The histogram's grid, the
// spatial filter and the tone curve are the frame's, one for all its moments. What a plan will
// cost (its samples, density estimation's reach, its bytes) is known before any render is made:
// the strips weigh plans by it.

#include "genome/genome.h"
#include "tone/grid.h"

#include <cstdint>
#include <functional>
#include <vector>

struct SMoment {
    double  dTime;
    double  dWeight;   // its plots' colour and alpha are multiplied by it; their count is not
    int64_t iSamples;
};

struct SRenderPlan {
    SGenome genome;    // the genome the picture is of, as kept with it
    SGenome picture;   // its grid, spatial filter and tone curve: the genome's for a still
    std::vector<std::vector<SMoment>> vPasses;  // each pass's moments, in time order
    double dMeanWeight = 1;  // the moments' mean weight, which the log scaling divides by
    // The genome of a moment; null: every moment draws the picture's genome.
    std::function<SGenome(double dTime)> genomeAt;
    // A frame's: the first keyframe (whose spatial filter every frame takes), then those its
    // moments are blended from, which a picture keeps to be drawn again; empty for a still.
    std::vector<SGenome> vFrameKeys;
};

// A still genome drawn at dQuality (> 0; else its own quality): one moment a pass, weight 1.
SRenderPlan stillPlan(const SGenome& genome, double dQuality = 0);

// The samples a still render of the genome draws in each pass: N = quality · 4^zoom · W · H,
// whatever the supersample, shared by the passes; and in all.
int64_t passSamplesOf(const SGenome& genome);
inline int64_t samplesOf(const SGenome& genome) {
    return passSamplesOf(genome) * genome.iPasses;
}

// How far the widest density kernel of any of the plan's passes reaches, 0 without density
// estimation: what a strip's rows must have around them.
int densityReachOf(const SRenderPlan& plan);

// About the most memory a render of the plan's rows pixelRows on iThreads holds at once, in
// bytes, beside the program's own: its buckets, the sums of its passes, its workers' plots, the
// rows of its tone mapping, the picture's rows on their way to a file.
double renderBytesOf(const SRenderPlan& plan, int iThreads, SRows pixelRows);
