#pragma once

// The two kernels of the tone mapping, each a value made once from the genome with its table:
// the spatial filter that downsamples buckets to pixels, and the density estimator's kernels,
// one per density, that spread each bucket over its neighbours.

#include "genome/genome.h"

#include <string>
#include <vector>

// The file's name of a shape, and the shape of a name (false for a name flam3 does not know).
const char* filterShapeName(EFilterShape eShape);
bool filterShapeByName(const char* sName, EFilterShape& eShape);

constexpr int iWidestFilter = 255;  // taps per axis; wider filters are refused

// The spatial filter of a shape, radius (output pixels) and supersample: F taps per axis centred
// on a pixel's S × S buckets, F − S even, and the F × F weights, normalised to sum 1.
class CSpatialFilter {
public:
    CSpatialFilter(EFilterShape eShape, double dRadius, int iSupersample);

    int width() const { return iWidth; }  // F
    double weight(int i, int j) const { return vWeights[j * iWidth + i]; }  // column i, row j
    const double* weights() const { return vWeights.data(); }
    bool usable() const { return bUsable; }  // a non-zero sum, no wider than iWidestFilter

private:
    int iWidth;
    bool bUsable;
    std::vector<double> vWeights;  // F × F, row after row
};

// F for a genome's filter, without making the table: to refuse a filter too wide to build.
double spatialFilterWidth(EFilterShape eShape, double dRadius, int iSupersample);

constexpr double dWidestEstimator = 400;  // estimator_radius × supersample; wider is refused

// One density's kernel: its width h, the reach ⌈h⌉ − 1 it deposits within, and its weights for
// offsets 0..reach on each axis (a quadrant; the kernel is symmetric), normalised over every
// offset within h of the half-size, as flam3 normalises them.
struct SDensityKernel {
    double dWidth;
    int    iReach;
    std::vector<double> vQuadrant;  // (reach + 1)², [dy][dx]
    double weight(int dx, int dy) const {
        return vQuadrant[(dy < 0 ? -dy : dy) * (iReach + 1) + (dx < 0 ? -dx : dx)];
    }
};

// The table of kernels for estimator radius, minimum and curve at a supersample, from the widest
// (one hit) to the narrowest (the densest buckets).
class CDensityKernels {
public:
    CDensityKernels(double dRadius, double dMinimum, double dCurve, int iSupersample);

    int halfSize() const { return iHalfSize; }  // N_h = ⌈R⌉ − 1: no kernel reaches further
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
