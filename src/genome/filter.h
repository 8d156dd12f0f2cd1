#pragma once

// The spatial filter that downsamples buckets to pixels: its shapes by name, and for a shape,
// radius and supersample a value made once with its table of weights.

#include "genome/genome.h"

#include <string>
#include <vector>

// The file's name of a shape, and the shape of a name (false for a name flam3 does not know).
const char* filterShapeName(EFilterShape eShape);
bool filterShapeByName(const char* sName, EFilterShape& eShape);

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
