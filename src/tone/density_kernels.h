#pragma once

// Density estimation's kernels: one per density, each spreading a bucket over its neighbours,
// made once for a genome's estimator radius, minimum and curve at its supersample.

#include "genome/genome.h"

#include <vector>

// One density's kernel: its width h, the reach ⌈h⌉ − 1 it deposits within, and its weights for
// offsets 0..reach on each axis (a quadrant; the kernel is symmetric), normalised over every
// offset within h of the half-size, as flam3 normalises them.
struct SDensityKernel {
    double dWidth;
    int    iReach;
    std::vector<double> vQuadrant;  // (reach + 1)², [dy][dx]
    // By |dy|, the last |dx| whose weight is not 0, −1 where none is: a kernel is round, and the
    // corners of its square weigh nothing (noteRowSpans makes them).
    std::vector<int> vRowSpan;
    const double* row(int dy) const {  // the weights at dy, by |dx|
        return &vQuadrant[(dy < 0 ? -dy : dy) * (iReach + 1)];
    }
    double weight(int dx, int dy) const { return row(dy)[dx < 0 ? -dx : dx]; }
    int rowSpan(int dy) const { return vRowSpan[dy < 0 ? -dy : dy]; }
};

void noteRowSpans(SDensityKernel& kernel);  // its vRowSpan, from its weights

// The table of kernels for estimator radius, minimum and curve at a supersample, from the widest
// (one hit) to the narrowest (the densest buckets).
class CDensityKernels {
public:
    CDensityKernels(double dRadius, double dMinimum, double dCurve, int iSupersample);

    int halfSize() const { return iHalfSize; }  // N_h = ⌈R⌉ − 1: no kernel reaches further
    static int halfSizeOf(double dRadius, int iSupersample);  // N_h without the table
    int count() const { return static_cast<int>(vKernels.size()); }  // K_max + 1
    double mostDensity() const { return dMostDensity; }  // N_max
    int index(double dDensity) const;  // the kernel of a bucket whose neighbourhood has it
    const SDensityKernel& kernel(int k) const { return vKernels[k]; }

private:
    int iHalfSize;
    double dCurve;
    double dMostDensity;
    std::vector<SDensityKernel> vKernels;
};
